#pragma once

#include <sys/ioctl.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ForkedChild {
    pid_t pid = 0;
    int masterDescriptor = -1; // close-on-exec, so later children do not hold the terminal open
};

// Pseudo-terminal system calls wrapped once.
class PseudoTerminalHelpers {
public:
    // Starts `path` on a new pseudo-terminal with `args` as its whole argument vector (argument zero
    // included) and exactly `env` as its environment. Absent when forkpty fails. A program that
    // cannot be executed makes the child exit with status 127.
    static std::optional<ForkedChild> forkAndExec(const std::string& path, const std::vector<std::string>& args,
                                                  const std::vector<std::string>& env,
                                                  const std::optional<std::string>& currentDirectory,
                                                  winsize desiredWindowSize);
    static int setWinSize(int masterPtyDescriptor, const winsize& windowSize);
    // The status of ioctl(FIONREAD) and the byte count it reported.
    static std::pair<int, int> availableBytes(int fd);
};
