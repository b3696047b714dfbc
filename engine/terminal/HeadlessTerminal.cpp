#include "engine/terminal/HeadlessTerminal.h"

#include <sys/wait.h>

#include <algorithm>

namespace brevlin {

namespace {

constexpr int windowPixels = 16;

unsigned short fitsWindowSize(int value) { return static_cast<unsigned short>(std::clamp(value, 0, 0xFFFF)); }

} // namespace

HeadlessTerminal::HeadlessTerminal(std::shared_ptr<SerialQueue> queue, TerminalOptions options,
    std::function<void(std::optional<std::int32_t>)> onEnd)
    : onEnd_(std::move(onEnd))
{
    terminal_ = std::make_unique<Terminal>(this, std::move(options));
    process_ = std::make_unique<LocalProcess>(*this, std::move(queue));
    timer_ = std::make_unique<QueueTimer>(process_->dispatchQueue());
    terminal_->setExecutor(timer_.get());
}

HeadlessTerminal::~HeadlessTerminal()
{
    // The process stops its callbacks first, so nothing reaches the terminal while it goes.
    process_.reset();
    timer_.reset();
    terminal_->setExecutor(nullptr);
    terminal_->setDelegate(nullptr);
}

void HeadlessTerminal::send(std::span<const std::uint8_t> data) { process_->send(data); }

void HeadlessTerminal::send(const std::string& text)
{
    process_->send(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void HeadlessTerminal::processTerminated(LocalProcess&, std::optional<int32_t> exitCode)
{
    std::optional<std::int32_t> status;
    if (exitCode) {
        if (WIFEXITED(*exitCode))
            status = WEXITSTATUS(*exitCode);
        else if (WIFSIGNALED(*exitCode))
            status = 128 + WTERMSIG(*exitCode);
    }
    if (onEnd_)
        onEnd_(status);
}

void HeadlessTerminal::dataReceived(std::span<const uint8_t> slice) { terminal_->feed(slice); }

winsize HeadlessTerminal::getWindowSize()
{
    winsize size {};
    size.ws_row = fitsWindowSize(terminal_->rows);
    size.ws_col = fitsWindowSize(terminal_->cols);
    size.ws_xpixel = windowPixels;
    size.ws_ypixel = windowPixels;
    return size;
}

void HeadlessTerminal::send(Terminal&, std::span<const std::uint8_t> data) { process_->send(data); }

void HeadlessTerminal::hostCurrentDirectoryUpdated(Terminal& source) { dir_ = source.hostCurrentDirectory; }

void HeadlessTerminal::createImageFromBitmap(Terminal&, std::vector<std::uint8_t>& bytes, int width, int height)
{
    images_.push_back({bytes, width, height});
}

} // namespace brevlin
