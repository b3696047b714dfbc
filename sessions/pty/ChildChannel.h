#pragma once

#include "sessions/pty/LocalProcessSettings.h"
#include "sessions/pty/PseudoTerminalHelpers.h"
#include "sessions/pty/SerialQueue.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

// The running side of one child on a pseudo-terminal: one I/O thread reads the master, writes
// pending input, watches the child through a pidfd and reaps it. Output goes to the delivery
// queue in order; the exit follows the last chunk, and only once the child has exited and the
// master reached its end. The thread owns the channel, so a terminated child is still reaped
// after its LocalProcess is gone.
class ChildChannel : public std::enable_shared_from_this<ChildChannel> {
public:
    struct Sink {
        std::function<void(std::span<const uint8_t>)> data;
        std::function<void(std::optional<int32_t>)> exit;
    };

    // Takes over the child and its master; absent when the child cannot be watched.
    static std::shared_ptr<ChildChannel> start(ForkedChild child, std::shared_ptr<SerialQueue> delivery, Sink sink,
                                               const LocalProcessSettings& settings);
    ~ChildChannel();

    SendOutcome send(std::span<const uint8_t> bytes);
    bool setWindowSize(const winsize& size);
    // Stops delivery at once (waiting for a callback in progress on another thread), then hangs up,
    // sends SIGTERM, SIGKILL after the grace period, and reaps.
    void terminate();

    bool running() const { return running_.load(); }
    int masterDescriptor() const { return masterForReaders_.load(); }
    pid_t pid() const { return pid_; }

private:
    ChildChannel(ForkedChild child, int pidfd, int wakefd, std::shared_ptr<SerialQueue> delivery, Sink sink,
                 const LocalProcessSettings& settings);
    void run();
    void readOutput();
    void flushWrites();
    void reapIfExited();
    void scheduleDrain();
    void drainOutput();
    void deliverExit();
    void endAfterTerminate();
    void closeMaster();
    void wake();
    bool signalChild(int signal);
    std::size_t outputBudgetLeft();

    const pid_t pid_;
    const int pidfd_;
    const int wakefd_;
    const std::shared_ptr<SerialQueue> delivery_;
    const Sink sink_;
    const LocalProcessSettings settings_;

    std::atomic<bool> running_{true};
    std::atomic<bool> terminateRequested_{false};
    std::atomic<int> masterForReaders_;

    // Guards the master descriptor against closing while another thread writes or resizes.
    std::mutex writeMutex_;
    int master_;
    std::vector<uint8_t> pendingWrites_;

    std::mutex outputMutex_;
    std::deque<std::vector<uint8_t>> chunks_;
    std::size_t pendingOutputBytes_ = 0;
    bool drainScheduled_ = false;

    // Held around every delegate call, so a stop on another thread waits for the call in progress.
    std::mutex deliveryMutex_;
    bool deliveryCancelled_ = false;

    // I/O thread only.
    bool childExited_ = false;
    bool masterEnded_ = false;
    std::optional<int32_t> exitStatus_;
    std::chrono::steady_clock::time_point lastOutputAt_;
    std::vector<uint8_t> readBuffer_;
};
