#include "tests/support/terminals/TarnChildProcesses.h"

#include <QTest>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Plain reads: a process can vanish while its stat file is read, which streams report by throwing.
pid_t parentOf(const std::filesystem::path& statPath) {
    std::FILE* file = std::fopen(statPath.c_str(), "r");
    if (!file)
        return -1;
    char buffer[1024];
    std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    buffer[length] = '\0';
    const char* paren = std::strrchr(buffer, ')');
    char state;
    int parent = -1;
    if (!paren || std::sscanf(paren + 1, " %c %d", &state, &parent) != 2)
        return -1;
    return parent;
}

} // namespace

std::vector<pid_t> childProcesses() {
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (parentOf(entry.path() / "stat") == getpid())
            children.push_back(std::stoi(name));
    }
    return children;
}

bool waitUntilReaped(pid_t pid) {
    // A zombie still answers signal 0; only a reaped process is gone.
    return QTest::qWaitFor([pid] { return kill(pid, 0) != 0 && errno == ESRCH; }, 30'000);
}
