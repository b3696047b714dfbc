#pragma once

#include "engine/terminal/QueueTimer.h"
#include "engine/terminal/Terminal.h"
#include "sessions/pty/LocalProcess.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brevlin {

// A child program on a pseudo-terminal whose output keeps a Terminal up to date, without a view.
// Output is fed on the process's queue; read and change the terminal only from that queue.
class HeadlessTerminal : public TerminalDelegate, public LocalProcessDelegate {
public:
    struct Bitmap {
        std::vector<std::uint8_t> bytes;
        int width = 0;
        int height = 0;
    };

    // Without a queue the process makes one of its own. `onEnd` hears the child's exit status
    // (128 + the signal for a child killed by one), on the process's queue.
    explicit HeadlessTerminal(std::shared_ptr<SerialQueue> queue = nullptr, TerminalOptions options = {},
        std::function<void(std::optional<std::int32_t>)> onEnd = {});
    ~HeadlessTerminal() override;

    Terminal& terminal() { return *terminal_; }
    LocalProcess& process() { return *process_; }
    const std::optional<std::string>& dir() const { return dir_; }
    const std::vector<Bitmap>& images() const { return images_; }

    void send(std::span<const std::uint8_t> data);
    void send(const std::string& text);
    void changeScrollback(std::optional<int> scrollback) { terminal_->changeScrollback(scrollback); }

    // LocalProcessDelegate
    void processTerminated(LocalProcess& process, std::optional<int32_t> exitCode) override;
    void dataReceived(std::span<const uint8_t> slice) override;
    winsize getWindowSize() override;

    // TerminalDelegate
    void send(Terminal& source, std::span<const std::uint8_t> data) override;
    void hostCurrentDirectoryUpdated(Terminal& source) override;
    void createImageFromBitmap(Terminal& source, std::vector<std::uint8_t>& bytes, int width, int height) override;

private:
    std::function<void(std::optional<std::int32_t>)> onEnd_;
    std::optional<std::string> dir_;
    std::vector<Bitmap> images_;
    std::unique_ptr<Terminal> terminal_;
    std::unique_ptr<LocalProcess> process_;
    std::unique_ptr<QueueTimer> timer_;
};

} // namespace brevlin
