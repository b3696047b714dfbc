#include "host/runner/TarnShellCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

extern char** environ;

namespace {
using namespace std::chrono_literals;
using Clock = TarnShellCommand::Clock;

constexpr auto pollInterval = 50ms;
// Bounds the last read, in case something that left the group keeps writing.
constexpr std::size_t finalDrainLimit = 4 << 20;

class Pipe {
public:
  ~Pipe() {
    closeReadEnd();
    closeWriteEnd();
  }
  bool open() { return ::pipe2(ends_.data(), O_CLOEXEC) == 0; }
  int readEnd() const { return ends_[0]; }
  int writeEnd() const { return ends_[1]; }
  void closeReadEnd() { closeEnd(0); }
  void closeWriteEnd() { closeEnd(1); }

private:
  void closeEnd(int index) {
    if (ends_[index] >= 0) {
      ::close(ends_[index]);
      ends_[index] = -1;
    }
  }
  std::array<int, 2> ends_{-1, -1};
};

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
public:
  SpawnSetup(int outputDescriptor, const std::string& directory) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, outputDescriptor, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions_, outputDescriptor, STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
    posix_spawnattr_init(&attributes_);
    // A session of its own: its process group lets the time-out reach every process the
    // command starts, and no controlling terminal means nothing can prompt on the one the
    // host may have been started from. Signal handling as a fresh process has it, whatever
    // the host ignores or blocks.
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes_, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes_, &signals);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

// A pidfd of the shell (readable once it exits), or -1 where the kernel has none.
class ShellDescriptor {
public:
  explicit ShellDescriptor(pid_t shell) : descriptor_(static_cast<int>(::syscall(SYS_pidfd_open, shell, 0))) {}
  ~ShellDescriptor() {
    if (descriptor_ >= 0) {
      ::close(descriptor_);
    }
  }
  ShellDescriptor(const ShellDescriptor&) = delete;
  ShellDescriptor& operator=(const ShellDescriptor&) = delete;
  int get() const { return descriptor_; }

private:
  int descriptor_;
};

// True once the shell has ended; it stays a zombie, so its group number cannot be reused
// before the group has been signalled. ECHILD means someone else reaped it (or SIGCHLD is ignored).
bool hasEnded(pid_t shell) {
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(shell), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
    return errno == ECHILD;
  }
  return info.si_pid != 0;
}

// Moves what the pipe holds into the ring; false once the pipe is closed.
bool readOutput(int descriptor, TarnOutputRing& output) {
  std::array<char, 65536> buffer;
  const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
  if (count > 0) {
    output.append(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
    return true;
  }
  return count < 0 && (errno == EINTR || errno == EAGAIN);
}

void drainWithoutWaiting(int descriptor, TarnOutputRing& output) {
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
  std::array<char, 65536> buffer;
  for (std::size_t drained = 0; drained < finalDrainLimit;) {
    const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return;
    }
    output.append(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
    drained += static_cast<std::size_t>(count);
  }
}

// Reads output until the shell ends, `until` passes or `stop` says so; true when the shell ended.
// The shell's pidfd wakes the wait the moment it exits; without one the interval bounds the delay.
template <typename StopCondition>
bool followUntil(pid_t shell, int shellDescriptor, const Pipe& pipe, Clock::time_point until, TarnOutputRing& output,
                 StopCondition stop) {
  bool pipeOpen = true;
  while (!hasEnded(shell)) {
    const auto now = Clock::now();
    if (now >= until || stop()) {
      return false;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(std::min<Clock::duration>(pollInterval, until - now));
    std::array<pollfd, 2> watched{{{pipeOpen ? pipe.readEnd() : -1, POLLIN, 0}, {shellDescriptor, POLLIN, 0}}};
    if (::poll(watched.data(), watched.size(), static_cast<int>(wait.count())) > 0 && watched[0].revents != 0) {
      pipeOpen = readOutput(pipe.readEnd(), output);
    }
  }
  return true;
}

int exitStatus(int waitStatus) {
  return WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : WEXITSTATUS(waitStatus);
}
} // namespace

TarnShellCommand::TarnShellCommand(std::string shellPath, std::chrono::milliseconds terminationGrace,
                                   const std::atomic<bool>* cancelled)
    : shellPath_(std::move(shellPath)), terminationGrace_(terminationGrace), cancelled_(cancelled) {}

TarnShellRun TarnShellCommand::run(const std::string& script, const std::string& directory,
                                   Clock::time_point deadline, TarnOutputRing& output) const {
  Pipe pipe;
  if (!pipe.open()) {
    return {TarnShellEnding::noOutputChannel, 0, errno};
  }
  pid_t shell = -1;
  {
    const SpawnSetup setup(pipe.writeEnd(), directory);
    std::string loginFlag = "-lc";
    std::string scriptCopy = script;
    std::string shellPath = shellPath_;
    char* arguments[] = {shellPath.data(), loginFlag.data(), scriptCopy.data(), nullptr};
    if (const int error = ::posix_spawn(&shell, shellPath_.c_str(), setup.actions(), setup.attributes(), arguments,
                                        environ)) {
      return {TarnShellEnding::couldNotStart, 0, error};
    }
  }
  pipe.closeWriteEnd();
  const ShellDescriptor shellDescriptor(shell);

  const auto cancelled = [this] { return cancelled_ && cancelled_->load(); };
  const bool ended = followUntil(shell, shellDescriptor.get(), pipe, deadline, output, cancelled);
  if (!ended) {
    ::kill(-shell, SIGTERM);
    followUntil(shell, shellDescriptor.get(), pipe, Clock::now() + terminationGrace_, output, [] { return false; });
    // Whatever trapped or ignored SIGTERM, or outlived the shell, ends here.
    ::kill(-shell, SIGKILL);
  }
  drainWithoutWaiting(pipe.readEnd(), output);
  int waitStatus = 0;
  pid_t reaped;
  while ((reaped = ::waitpid(shell, &waitStatus, 0)) < 0 && errno == EINTR) {
  }
  // A status nobody can tell counts as a failure, never as success.
  const int status = reaped == shell ? exitStatus(waitStatus) : 1;
  return {ended ? TarnShellEnding::exited : TarnShellEnding::stopped, status, 0};
}
