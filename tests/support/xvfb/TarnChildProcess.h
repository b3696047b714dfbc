#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// A child process for tests: started with a pipe on its stdout, stopped by its own PID.
class TarnChildProcess {
public:
  TarnChildProcess() = default;
  ~TarnChildProcess();
  TarnChildProcess(const TarnChildProcess&) = delete;
  TarnChildProcess& operator=(const TarnChildProcess&) = delete;

  // Starts argv[0] (searched in PATH) with `extraEnvironment` ("NAME=value") added.
  bool start(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {});
  // Reads stdout until a line containing `text` arrives or `timeoutMs` passes.
  bool waitForLine(const std::string& text, int timeoutMs = 10000);
  // Reads stdout until it holds `count` complete lines or `timeoutMs` passes.
  bool waitForLineCount(size_t count, int timeoutMs = 10000);
  // The complete lines read so far.
  std::vector<std::string> lines() const;
  // Everything read from stdout so far.
  const std::string& output() const { return output_; }
  // Reads whatever stdout has now without waiting.
  void drain();
  // Waits up to `timeoutMs` for output and reads what has arrived; false at its end or on time-out.
  bool readOnce(int timeoutMs);
  void stop();
  pid_t pid() const { return pid_; }

  // Runs a command to its end and returns its exit code (-1 when it could not run).
  static int run(const std::vector<std::string>& argv, std::string* output = nullptr);

private:
  pid_t pid_ = -1;
  int stdoutFD_ = -1;
  std::string output_;
};
