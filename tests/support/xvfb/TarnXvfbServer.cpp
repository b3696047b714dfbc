#include "tests/support/xvfb/TarnXvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

TarnXvfbServer::TarnXvfbServer(const std::string& geometry, const std::vector<std::string>& extraArguments) {
  int fds[2];
  if (pipe(fds) != 0) return;
  const pid_t program = getpid();
  pid_ = fork();
  if (pid_ < 0) return;
  if (pid_ == 0) {
    // The server ends with the test program, even when that dies without its destructors.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != program) _exit(127);
    close(fds[0]);
    if (int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, 2);
    std::vector<std::string> arguments{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", geometry,
                                       "-nolisten", "tcp", "-noreset", "+extension", "RANDR"};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execvp("Xvfb", argv.data());
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the display number only once it accepts connections.
  std::string number;
  pollfd descriptor{fds[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos && poll(&descriptor, 1, 15000) > 0) {
    char buffer[16];
    ssize_t count = read(fds[0], buffer, sizeof buffer);
    if (count <= 0) break;
    number.append(buffer, size_t(count));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) return;
  display_ = ":" + number.substr(0, number.find('\n'));
  if (const char* previous = std::getenv("DISPLAY")) previousDisplay_ = previous;
  setenv("DISPLAY", display_.c_str(), 1);
}

TarnXvfbServer::~TarnXvfbServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (previousDisplay_.empty())
    unsetenv("DISPLAY");
  else
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
}

bool TarnXvfbServer::makeTwoMonitors() {
  // Binding the first monitor to the "screen" output replaces the server's automatic one.
  return TarnChildProcess::run({"xrandr", "--display", display_, "--setmonitor", "*left",
                                "1920/508x1080/286+0+0", "screen"}) == 0 &&
         TarnChildProcess::run({"xrandr", "--display", display_, "--setmonitor", "right",
                                "800/212x600/159+1920+0", "none"}) == 0;
}
