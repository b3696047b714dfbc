#pragma once

#include "sessions/pty/LocalProcess.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One child on a pseudo-terminal with its own output queue "tarn.pty.output". Both callbacks run
// on that queue; the next chunk is read only within the launcher's bounded buffer, so a callback
// that blocks slows the child instead of losing output.
class TarnPTYSession : private LocalProcessDelegate {
public:
    using OutputHandler = std::function<void(std::span<const uint8_t>)>;
    using ExitHandler = std::function<void(std::optional<int32_t>)>;

    static constexpr const char* defaultShell = "/bin/zsh";

    TarnPTYSession(uint16_t cols, uint16_t rows, const std::optional<std::string>& shell, OutputHandler onOutput,
                   ExitHandler onExit, LocalProcessSettings settings = {});
    ~TarnPTYSession() override;

    // Runs `executable` (default: the shell) with `args` (default: "-l") in the default terminal
    // environment. False when no child could be started.
    bool start(const std::optional<std::string>& currentDirectory = std::nullopt,
               const std::optional<std::string>& executable = std::nullopt,
               const std::optional<std::vector<std::string>>& args = std::nullopt);
    SendOutcome send(std::span<const uint8_t> bytes);
    // Stored for the next start when no terminal is open.
    void resize(uint16_t cols, uint16_t rows);
    // Ends the child; onExit is not called for it.
    void terminate();

    const std::string& title() const { return title_; }
    const std::string& shell() const { return shell_; }
    pid_t shellPid() const { return process_->shellPid(); }

private:
    void processTerminated(LocalProcess& process, std::optional<int32_t> exitCode) override;
    void dataReceived(std::span<const uint8_t> slice) override;
    winsize getWindowSize() override;

    const OutputHandler onOutput_;
    const ExitHandler onExit_;
    const std::string shell_;
    const std::string title_;
    std::mutex winSizeLock_;
    winsize winSize_{};
    std::unique_ptr<LocalProcess> process_; // last: stops its callbacks before the rest goes
};
