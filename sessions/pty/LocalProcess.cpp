#include "sessions/pty/LocalProcess.h"

#include "sessions/pty/ChildChannel.h"
#include "sessions/pty/PseudoTerminalHelpers.h"
#include "sessions/pty/TerminalEnvironment.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

LocalProcess::LocalProcess(LocalProcessDelegate& delegate, std::shared_ptr<SerialQueue> dispatchQueue,
                           LocalProcessSettings settings)
    : delegate_(delegate),
      dispatchQueue_(dispatchQueue ? std::move(dispatchQueue) : std::make_shared<SerialQueue>("tarn.pty.output")),
      settings_(settings) {}

LocalProcess::~LocalProcess() {
    // terminate() waits for a delivery in progress; so later tasks find delivery cancelled.
    terminate();
}

bool LocalProcess::startProcess(const std::string& executable, const std::vector<std::string>& args,
                                const std::optional<std::vector<std::string>>& environment,
                                const std::optional<std::string>& execName,
                                const std::optional<std::string>& currentDirectory) {
    if (running())
        return false;
    // An ended child's exit notice may still be queued: it must not reach the delegate after this
    // start. Stopped outside the lock, since it waits for a delivery that may be taking the lock.
    std::shared_ptr<ChildChannel> previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(channel_, nullptr);
    }
    if (previous)
        previous->terminate();
    winsize size = delegate_.getWindowSize();
    std::vector<std::string> argv{execName.value_or(executable)};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env =
        environment ? *environment : TerminalEnvironment::variables("xterm-256color", TrueColor::on);

    auto child = PseudoTerminalHelpers::forkAndExec(executable, argv, env, currentDirectory, size);
    if (!child)
        return false;
    ChildChannel::Sink sink{
        [this](std::span<const uint8_t> chunk) { deliver(chunk); },
        [this](std::optional<int32_t> exitCode) { delegate_.processTerminated(*this, exitCode); },
    };
    auto channel = ChildChannel::start(*child, dispatchQueue_, std::move(sink), settings_);
    if (!channel)
        return false;
    std::lock_guard lock(mutex_);
    channel_ = std::move(channel);
    shellPid_ = child->pid;
    return true;
}

SendOutcome LocalProcess::send(std::span<const uint8_t> data) {
    std::shared_ptr<ChildChannel> channel;
    {
        std::lock_guard lock(mutex_);
        channel = channel_;
    }
    return channel ? channel->send(data) : SendOutcome::notRunning;
}

bool LocalProcess::setWindowSize(const winsize& size) {
    std::shared_ptr<ChildChannel> channel;
    {
        std::lock_guard lock(mutex_);
        channel = channel_;
    }
    return channel && channel->setWindowSize(size);
}

void LocalProcess::terminate() {
    std::shared_ptr<ChildChannel> channel;
    {
        std::lock_guard lock(mutex_);
        channel = std::move(channel_);
    }
    if (channel)
        channel->terminate();
}

bool LocalProcess::running() const {
    std::lock_guard lock(mutex_);
    return channel_ && channel_->running();
}

int LocalProcess::childfd() const {
    std::lock_guard lock(mutex_);
    return channel_ ? channel_->masterDescriptor() : -1;
}

pid_t LocalProcess::shellPid() const {
    std::lock_guard lock(mutex_);
    return shellPid_;
}

void LocalProcess::setHostLogging(const std::optional<std::string>& directory) {
    std::lock_guard lock(mutex_);
    loggingDir_ = directory;
}

void LocalProcess::deliver(std::span<const uint8_t> chunk) {
    writeDumpFile(chunk);
    delegate_.dataReceived(chunk);
}

void LocalProcess::writeDumpFile(std::span<const uint8_t> chunk) {
    std::string path;
    {
        std::lock_guard lock(mutex_);
        if (!loggingDir_)
            return;
        path = *loggingDir_ + "/log-" + std::to_string(logFileCounter_);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    file.close();
    if (!file) {
        std::printf("Got error while logging data dump to %s: %s\n", path.c_str(), std::strerror(errno));
        return;
    }
    std::lock_guard lock(mutex_);
    ++logFileCounter_;
}
