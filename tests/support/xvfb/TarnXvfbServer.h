#pragma once
#include "tests/support/xvfb/TarnChildProcess.h"

#include <string>
#include <vector>

// A private Xvfb for one test: the server picks a free display number (-displayfd)
// and is stopped by its PID. DISPLAY is set for the test process while it runs.
class TarnXvfbServer {
public:
  explicit TarnXvfbServer(const std::string& geometry = "1920x1080x24",
                          const std::vector<std::string>& extraArguments = {});
  ~TarnXvfbServer();
  TarnXvfbServer(const TarnXvfbServer&) = delete;
  TarnXvfbServer& operator=(const TarnXvfbServer&) = delete;

  bool isRunning() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

  // Replaces the server's monitors with two side by side: a primary `left`
  // of 1920x1080 at the origin and `right` of 800x600 beside it (screen 2720x1080).
  bool makeTwoMonitors();

private:
  pid_t pid_ = -1;
  std::string display_;
  std::string previousDisplay_;
};
