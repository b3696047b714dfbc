#pragma once

#include <sys/types.h>

#include <vector>

// The live and zombie children of this test process, read from /proc.
std::vector<pid_t> childProcesses();
// Waits until the process is fully gone: neither running nor left as a zombie.
bool waitUntilReaped(pid_t pid);
