#include "tests/support/terminals/TarnChildProcesses.h"

#include <QTest>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

pid_t parentOf(const std::filesystem::path& statPath) {
    std::ifstream in(statPath);
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    auto paren = stat.rfind(')');
    if (paren == std::string::npos)
        return -1;
    char state;
    int parent = -1;
    if (std::sscanf(stat.c_str() + paren + 1, " %c %d", &state, &parent) != 2)
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
