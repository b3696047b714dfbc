#include "tests/support/xvfb/TarnChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

TarnChildProcess::~TarnChildProcess() { stop(); }

bool TarnChildProcess::start(const std::vector<std::string>& argv,
                             const std::vector<std::string>& extraEnvironment) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t program = getpid();
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    // The child ends with the test program, even when that dies without its destructors.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != program) _exit(127);
    dup2(fds[1], 1);
    if (int null = open("/dev/null", O_RDWR); null >= 0) {
      dup2(null, 0);
      dup2(null, 2);
    }
    for (const std::string& entry : extraEnvironment) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(fds[1]);
  stdoutFD_ = fds[0];
  return true;
}

bool TarnChildProcess::readOnce(int timeoutMs) {
  if (stdoutFD_ < 0) return false;
  pollfd descriptor{stdoutFD_, POLLIN, 0};
  if (poll(&descriptor, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  ssize_t count = read(stdoutFD_, buffer, sizeof buffer);
  if (count <= 0) {
    close(stdoutFD_);
    stdoutFD_ = -1;
    return false;
  }
  output_.append(buffer, size_t(count));
  return true;
}

bool TarnChildProcess::waitForLine(const std::string& text, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (output_.find(text) == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readOnce(int(left.count()))) return output_.find(text) != std::string::npos;
  }
  return true;
}

bool TarnChildProcess::waitForLineCount(size_t count, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (lines().size() < count) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readOnce(int(left.count()))) break;
  }
  return lines().size() >= count;
}

std::vector<std::string> TarnChildProcess::lines() const {
  std::vector<std::string> result;
  for (size_t start = 0, end; (end = output_.find('\n', start)) != std::string::npos; start = end + 1)
    result.push_back(output_.substr(start, end - start));
  return result;
}

void TarnChildProcess::drain() {
  while (readOnce(0)) {
  }
}

void TarnChildProcess::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  if (stdoutFD_ >= 0) {
    close(stdoutFD_);
    stdoutFD_ = -1;
  }
}

int TarnChildProcess::run(const std::vector<std::string>& argv, std::string* output) {
  TarnChildProcess child;
  if (!child.start(argv)) return -1;
  while (child.readOnce(30000)) {
  }
  int status = 0;
  waitpid(child.pid_, &status, 0);
  child.pid_ = -1;
  if (output) *output = child.output_;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
