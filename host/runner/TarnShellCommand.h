#pragma once
#include "host/runner/TarnOutputRing.h"

#include <atomic>
#include <chrono>
#include <string>

enum class TarnShellEnding {
  exited,           // the shell ended by itself; `status` holds its exit code or signal
  stopped,          // the deadline passed or the run was cancelled; the whole group was ended
  noOutputChannel,  // the output pipe could not be made
  couldNotStart,    // the shell did not start; `errorNumber` says why
};

struct TarnShellRun {
  TarnShellEnding ending = TarnShellEnding::exited;
  int status = 0;
  int errorNumber = 0;
};

// Runs `shell -lc script` in a session and process group of its own, without a controlling
// terminal, with standard input from /dev/null and standard output and error into one pipe
// whose newest bytes go to a ring.
// At the deadline, or when `cancelled` turns true, the group gets SIGTERM, then SIGKILL
// after `terminationGrace`; the shell is always reaped before run() returns.
class TarnShellCommand {
public:
  using Clock = std::chrono::steady_clock;

  TarnShellCommand(std::string shellPath, std::chrono::milliseconds terminationGrace,
                   const std::atomic<bool>* cancelled = nullptr);

  TarnShellRun run(const std::string& script, const std::string& directory, Clock::time_point deadline,
                   TarnOutputRing& output) const;

private:
  std::string shellPath_;
  std::chrono::milliseconds terminationGrace_;
  const std::atomic<bool>* cancelled_;
};
