#include "host/terminals/TarnTerminalInputStream.h"

#include <memory>

namespace {

// A resize counts as a few bytes, so a flood of them is bounded too.
constexpr std::size_t resizeWeight = 16;

const TarnUUID& sessionOf(const TarnTerminalInputEvent& event) {
    return std::visit([](const auto& value) -> const TarnUUID& { return value.sessionID; }, event);
}

std::size_t weightOf(const TarnTerminalInputEvent& event) {
    if (const auto* bytes = std::get_if<TarnTerminalInputBytes>(&event))
        return bytes->bytes.size();
    return resizeWeight;
}

} // namespace

TarnTerminalInputStream::TarnTerminalInputStream(Apply apply, std::size_t maxPendingBytesPerSession)
    : apply_(std::move(apply)), maxPendingBytesPerSession_(maxPendingBytesPerSession) {}

bool TarnTerminalInputStream::enqueue(TarnTerminalInputEvent event) {
    std::size_t& pending = pendingBytes_[sessionOf(event)];
    if (pending + weightOf(event) > maxPendingBytesPerSession_) {
        if (pending == 0)
            pendingBytes_.erase(sessionOf(event));
        return false;
    }
    pending += weightOf(event);
    events_.push_back(std::move(event));
    if (!applying_)
        applyNext();
    return true;
}

void TarnTerminalInputStream::stop() {
    events_.clear();
    pendingBytes_.clear();
    applying_ = false;
    ++generation_;
}

void TarnTerminalInputStream::applyNext() {
    // A loop rather than recursion: completions that come at once must not deepen the stack.
    enum class Progress { applying, doneAtOnce, pending };
    while (!events_.empty()) {
        applying_ = true;
        TarnTerminalInputEvent event = std::move(events_.front());
        events_.pop_front();
        auto progress = std::make_shared<Progress>(Progress::applying);
        apply_(event, [this, event, progress, generation = generation_] {
            if (generation != generation_)
                return;
            finished(event);
            if (*progress == Progress::applying)
                *progress = Progress::doneAtOnce;
            else
                applyNext();
        });
        if (*progress != Progress::doneAtOnce) {
            *progress = Progress::pending;
            return;
        }
    }
    applying_ = false;
}

void TarnTerminalInputStream::finished(const TarnTerminalInputEvent& event) {
    auto found = pendingBytes_.find(sessionOf(event));
    if (found == pendingBytes_.end())
        return;
    found->second -= weightOf(event);
    if (found->second == 0)
        pendingBytes_.erase(found);
}
