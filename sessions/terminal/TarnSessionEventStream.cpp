#include "sessions/terminal/TarnSessionEventStream.h"

TarnSessionEventStream::TarnSessionEventStream(std::size_t maxBufferedBytes, std::function<void()> onReadable)
    : maxBufferedBytes_(maxBufferedBytes), onReadable_(std::move(onReadable)) {}

bool TarnSessionEventStream::pushLive(std::string bytes) {
    {
        std::unique_lock lock(mutex_);
        spaceFreed_.wait(lock, [this] { return finished_ || bufferedBytes_ < maxBufferedBytes_; });
        // Output the consumer has not taken yet joins the chunk before it: the host then frames a
        // busy shell's output in few large envelopes rather than thousands of small ones.
        if (!finished_ && !events_.empty() && events_.back().kind == Event::Kind::live &&
            events_.back().bytes.size() + bytes.size() <= maxChunkBytes) {
            events_.back().bytes += bytes;
            bufferedBytes_ += bytes.size();
            return true;
        }
    }
    return push(Event{Event::Kind::live, std::move(bytes), {}});
}

bool TarnSessionEventStream::pushReplay(const TarnUUID& owner) {
    return push(Event{Event::Kind::replay, {}, owner});
}

bool TarnSessionEventStream::push(Event event) {
    bool notify;
    {
        std::lock_guard lock(mutex_);
        if (finished_)
            return false;
        bufferedBytes_ += event.bytes.size();
        events_.push_back(std::move(event));
        notify = consumerWaiting_;
        consumerWaiting_ = false;
    }
    if (notify)
        onReadable_();
    return true;
}

std::optional<TarnSessionEventStream::Event> TarnSessionEventStream::pop() {
    std::optional<Event> event;
    {
        std::lock_guard lock(mutex_);
        if (events_.empty()) {
            consumerWaiting_ = true;
            return std::nullopt;
        }
        event = std::move(events_.front());
        events_.pop_front();
        bufferedBytes_ -= event->bytes.size();
    }
    spaceFreed_.notify_all();
    return event;
}

void TarnSessionEventStream::finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    spaceFreed_.notify_all();
}

void TarnSessionEventStream::discard() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        events_.clear();
        bufferedBytes_ = 0;
    }
    spaceFreed_.notify_all();
}
