#include "platform/displayserver/TarnXDisplay.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>

// A test program that dies without running its destructors (a crash, a sanitizer abort,
// a ctest time-out) must not leave its private X server running.
TEST(TarnXvfbServer, EndsWithTheProgramThatStartedIt) {
  std::array<int, 2> pipe{};
  ASSERT_EQ(::pipe2(pipe.data(), O_CLOEXEC), 0);
  const pid_t program = ::fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    ::close(pipe[0]);
    TarnXvfbServer server("320x240x24");
    const std::string display = server.isRunning() ? server.display() : std::string();
    (void)!::write(pipe[1], display.data(), display.size());
    ::_exit(0);  // skips ~TarnXvfbServer
  }
  ::close(pipe[1]);
  std::string display;
  std::array<char, 64> buffer{};
  for (ssize_t count; (count = ::read(pipe[0], buffer.data(), buffer.size())) > 0;)
    display.append(buffer.data(), size_t(count));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(program, &status, 0);
  ASSERT_FALSE(display.empty());

  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  bool reachable = true;
  while (reachable && std::chrono::steady_clock::now() < deadline) {
    reachable = TarnXDisplay(display).isOpen();
    if (reachable) std::this_thread::sleep_for(20ms);
  }
  EXPECT_FALSE(reachable) << "the X server " << display << " outlived its program";
}
