#pragma once

#include "sessions/pty/LocalProcessDelegate.h"
#include "sessions/pty/LocalProcessSettings.h"
#include "sessions/pty/SerialQueue.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

class ChildChannel;

// Runs one child program on a new pseudo-terminal. Output reaches the delegate in order on the
// delivery queue; the exit notice comes after the last chunk, once the child has exited and the
// terminal has been read to its end. The delegate must outlive the process: destroying the process
// stops every callback (waiting for one in progress on the delivery queue).
class LocalProcess {
public:
    static constexpr std::size_t readSize = LocalProcessSettings::readSize;

    // Without a queue the process makes a serial queue of its own.
    explicit LocalProcess(LocalProcessDelegate& delegate, std::shared_ptr<SerialQueue> dispatchQueue = nullptr,
                          LocalProcessSettings settings = {});
    ~LocalProcess();
    LocalProcess(const LocalProcess&) = delete;
    LocalProcess& operator=(const LocalProcess&) = delete;

    // Starts `executable` with `args` (argument zero is `execName`, else `executable`) and
    // `environment` (absent: the default terminal environment). Does nothing while running.
    // Returns whether a child was started.
    bool startProcess(const std::string& executable, const std::vector<std::string>& args,
                      const std::optional<std::vector<std::string>>& environment = std::nullopt,
                      const std::optional<std::string>& execName = std::nullopt,
                      const std::optional<std::string>& currentDirectory = std::nullopt);
    // Queues bytes for the child: dropped when it is not running, refused while the child has
    // more than maxPendingInputBytes left to read.
    SendOutcome send(std::span<const uint8_t> data);
    // Sets the terminal's size and tells the child; false when there is no terminal.
    bool setWindowSize(const winsize& size);
    // Ends the child: no further callbacks. The child is still reaped, with SIGKILL if it lingers.
    void terminate();

    bool running() const;
    int childfd() const;
    pid_t shellPid() const;
    const std::shared_ptr<SerialQueue>& dispatchQueue() const { return dispatchQueue_; }
    // Writes every chunk read to <directory>/log-<n> before delivering it; absent turns it off.
    void setHostLogging(const std::optional<std::string>& directory);

private:
    void deliver(std::span<const uint8_t> chunk);
    void writeDumpFile(std::span<const uint8_t> chunk);

    LocalProcessDelegate& delegate_;
    const std::shared_ptr<SerialQueue> dispatchQueue_;
    const LocalProcessSettings settings_;

    mutable std::mutex mutex_;
    std::shared_ptr<ChildChannel> channel_;
    pid_t shellPid_ = 0;
    std::optional<std::string> loggingDir_;
    int logFileCounter_ = 0;
};
