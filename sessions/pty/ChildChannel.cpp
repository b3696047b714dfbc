#include "sessions/pty/ChildChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int openPidfd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left + 1, 0, 60'000));
}

} // namespace

std::shared_ptr<ChildChannel> ChildChannel::start(ForkedChild child, std::shared_ptr<SerialQueue> delivery, Sink sink,
                                                  const LocalProcessSettings& settings) {
    int pidfd = openPidfd(child.pid);
    int wakefd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (pidfd < 0 || wakefd < 0) {
        // Still our unreaped child, so its PID cannot have been reused yet.
        kill(child.pid, SIGKILL);
        waitpid(child.pid, nullptr, 0);
        for (int fd : {pidfd, wakefd, child.masterDescriptor})
            if (fd >= 0)
                close(fd);
        return nullptr;
    }
    fcntl(child.masterDescriptor, F_SETFL, fcntl(child.masterDescriptor, F_GETFL) | O_NONBLOCK);
    std::shared_ptr<ChildChannel> channel(
        new ChildChannel(child, pidfd, wakefd, std::move(delivery), std::move(sink), settings));
    std::thread([channel] { channel->run(); }).detach();
    return channel;
}

ChildChannel::ChildChannel(ForkedChild child, int pidfd, int wakefd, std::shared_ptr<SerialQueue> delivery, Sink sink,
                           const LocalProcessSettings& settings)
    : pid_(child.pid), pidfd_(pidfd), wakefd_(wakefd), delivery_(std::move(delivery)), sink_(std::move(sink)),
      settings_(settings), masterForReaders_(child.masterDescriptor), master_(child.masterDescriptor),
      readBuffer_(LocalProcessSettings::readSize) {}

ChildChannel::~ChildChannel() {
    if (master_ >= 0)
        close(master_);
    close(pidfd_);
    close(wakefd_);
}

SendOutcome ChildChannel::send(std::span<const uint8_t> bytes) {
    if (!running_.load())
        return SendOutcome::notRunning;
    std::lock_guard lock(writeMutex_);
    if (master_ < 0)
        return SendOutcome::notRunning;
    if (bytes.empty())
        return SendOutcome::queued;
    if (!pendingWrites_.empty()) {
        // One message may overshoot the bound when nothing waits; after that the child must catch up.
        if (pendingWrites_.size() + bytes.size() > settings_.maxPendingInputBytes)
            return SendOutcome::inputBacklogFull;
        pendingWrites_.insert(pendingWrites_.end(), bytes.begin(), bytes.end());
        return SendOutcome::queued;
    }
    // Write at once when nothing is queued: keystrokes should not wait for a thread hop.
    ssize_t written = write(master_, bytes.data(), bytes.size());
    if (written < 0) {
        if (errno != EAGAIN && errno != EINTR) {
            std::printf("Error writing data to the child, errno=%d\n", errno);
            return SendOutcome::queued; // reported like any write error, not to the sender
        }
        written = 0;
    }
    if (static_cast<std::size_t>(written) < bytes.size()) {
        pendingWrites_.insert(pendingWrites_.end(), bytes.begin() + written, bytes.end());
        wake();
    }
    return SendOutcome::queued;
}

bool ChildChannel::setWindowSize(const winsize& size) {
    std::lock_guard lock(writeMutex_);
    if (master_ < 0)
        return false;
    PseudoTerminalHelpers::setWinSize(master_, size);
    signalChild(SIGWINCH);
    return true;
}

void ChildChannel::terminate() {
    running_ = false;
    if (delivery_->isCurrent()) {
        deliveryCancelled_ = true; // called from inside a delivery, which already holds the lock
    } else {
        std::lock_guard lock(deliveryMutex_);
        deliveryCancelled_ = true;
    }
    if (!terminateRequested_.exchange(true))
        wake();
}

bool ChildChannel::signalChild(int signal) {
    // A pidfd names this very process: once it is reaped the call fails instead of reaching a new owner of the PID.
    return syscall(SYS_pidfd_send_signal, pidfd_, signal, nullptr, 0) == 0;
}

void ChildChannel::wake() {
    uint64_t one = 1;
    (void)!write(wakefd_, &one, sizeof one);
}

std::size_t ChildChannel::outputBudgetLeft() {
    std::lock_guard lock(outputMutex_);
    return settings_.maxPendingOutputBytes > pendingOutputBytes_ ? settings_.maxPendingOutputBytes - pendingOutputBytes_
                                                                  : 0;
}

void ChildChannel::run() {
    pthread_setname_np(pthread_self(), "tarn.pty.io");
    lastOutputAt_ = Clock::now();
    for (;;) {
        if (terminateRequested_.load()) {
            endAfterTerminate();
            return;
        }
        bool writesPending;
        {
            std::lock_guard lock(writeMutex_);
            writesPending = !pendingWrites_.empty();
        }
        short masterEvents = 0;
        bool reading = false;
        if (!masterEnded_) {
            reading = outputBudgetLeft() > 0;
            if (reading)
                masterEvents |= POLLIN;
            else
                lastOutputAt_ = Clock::now(); // a full queue is not a quiet master
            if (writesPending)
                masterEvents |= POLLOUT;
        }
        pollfd fds[3] = {{wakefd_, POLLIN, 0},
                         {childExited_ ? -1 : pidfd_, POLLIN, 0},
                         {masterEvents ? master_ : -1, masterEvents, 0}};
        int timeout = -1;
        if (childExited_ && reading)
            timeout = millisecondsUntil(lastOutputAt_ + settings_.exitDrainGrace);
        if (poll(fds, 3, timeout) < 0)
            continue;
        if (fds[0].revents) {
            uint64_t count;
            (void)!read(wakefd_, &count, sizeof count);
        }
        if (fds[2].revents & POLLOUT)
            flushWrites();
        if ((masterEvents & POLLIN) && (fds[2].revents & (POLLIN | POLLHUP | POLLERR)))
            readOutput();
        if (fds[1].revents)
            reapIfExited();
        if (childExited_ && reading && !masterEnded_ && Clock::now() >= lastOutputAt_ + settings_.exitDrainGrace)
            masterEnded_ = true; // a background process still holds the terminal open
        if (childExited_ && masterEnded_)
            break;
    }
    closeMaster();
    running_ = false;
    delivery_->async([self = shared_from_this()] { self->deliverExit(); });
}

void ChildChannel::readOutput() {
    // Take what is there now, up to one chunk: a busy child then costs one wake-up per chunk
    // rather than one per terminal buffer.
    std::size_t wanted = std::min(LocalProcessSettings::readSize, outputBudgetLeft());
    std::size_t count = 0;
    while (count < wanted) {
        ssize_t got = read(master_, readBuffer_.data() + count, wanted - count);
        if (got > 0) {
            count += static_cast<std::size_t>(got);
            continue;
        }
        // 0 or EIO: every slave descriptor is closed and the data is drained.
        if (got == 0 || (errno != EAGAIN && errno != EINTR))
            masterEnded_ = true;
        break;
    }
    if (count == 0)
        return;
    lastOutputAt_ = Clock::now();
    bool schedule;
    {
        std::lock_guard lock(outputMutex_);
        // Bytes that arrive while the previous read still waits for delivery join it, so a busy
        // child travels in large chunks and an idle one in small, prompt ones.
        if (!chunks_.empty() && chunks_.back().size() + count <= LocalProcessSettings::readSize)
            chunks_.back().insert(chunks_.back().end(), readBuffer_.begin(), readBuffer_.begin() + count);
        else
            chunks_.emplace_back(readBuffer_.begin(), readBuffer_.begin() + count);
        pendingOutputBytes_ += count;
        schedule = !drainScheduled_;
        drainScheduled_ = true;
    }
    if (schedule)
        delivery_->async([self = shared_from_this()] { self->drainOutput(); });
}

void ChildChannel::drainOutput() {
    for (;;) {
        std::vector<uint8_t> chunk;
        {
            std::lock_guard lock(outputMutex_);
            if (chunks_.empty()) {
                drainScheduled_ = false;
                return;
            }
            chunk = std::move(chunks_.front());
            chunks_.pop_front();
        }
        {
            std::lock_guard lock(deliveryMutex_);
            if (!deliveryCancelled_)
                sink_.data(chunk);
        }
        bool wasFull;
        {
            std::lock_guard lock(outputMutex_);
            wasFull = pendingOutputBytes_ >= settings_.maxPendingOutputBytes;
            pendingOutputBytes_ -= chunk.size();
        }
        if (wasFull)
            wake();
    }
}

void ChildChannel::deliverExit() {
    std::lock_guard lock(deliveryMutex_);
    if (!deliveryCancelled_)
        sink_.exit(exitStatus_);
    deliveryCancelled_ = true;
}

void ChildChannel::flushWrites() {
    std::lock_guard lock(writeMutex_);
    while (!pendingWrites_.empty() && master_ >= 0) {
        ssize_t written = write(master_, pendingWrites_.data(), pendingWrites_.size());
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR)
                return;
            std::printf("Error writing data to the child, errno=%d\n", errno);
            pendingWrites_.clear();
            return;
        }
        pendingWrites_.erase(pendingWrites_.begin(), pendingWrites_.begin() + written);
    }
}

void ChildChannel::reapIfExited() {
    int status = 0;
    pid_t reaped = waitpid(pid_, &status, WNOHANG);
    if (reaped == 0)
        return;
    childExited_ = true;
    lastOutputAt_ = Clock::now();
    // Reaped by someone else (or SIGCHLD ignored): the status is unknown, not 0.
    exitStatus_ = reaped == pid_ ? std::optional<int32_t>(status) : std::nullopt;
}

void ChildChannel::endAfterTerminate() {
    closeMaster(); // hangs up the terminal: the shell gets SIGHUP, which an interactive zsh obeys
    if (!childExited_) {
        signalChild(SIGTERM);
        pollfd exited{pidfd_, POLLIN, 0};
        int grace = static_cast<int>(settings_.terminateGrace.count());
        while (poll(&exited, 1, grace) < 0 && errno == EINTR) {
        }
        if (!(exited.revents & POLLIN))
            signalChild(SIGKILL);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

void ChildChannel::closeMaster() {
    std::lock_guard lock(writeMutex_);
    if (master_ >= 0)
        close(master_);
    master_ = -1;
    masterForReaders_ = -1;
    pendingWrites_.clear();
}
