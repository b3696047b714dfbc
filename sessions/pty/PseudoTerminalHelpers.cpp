#include "sessions/pty/PseudoTerminalHelpers.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <climits>

namespace {

std::vector<char*> cStringArray(const std::vector<std::string>& strings) {
    std::vector<char*> array;
    array.reserve(strings.size() + 1);
    for (const auto& string : strings)
        array.push_back(const_cast<char*>(string.c_str()));
    array.push_back(nullptr);
    return array;
}

// Runs in the forked child of a possibly multithreaded host: async-signal-safe calls only.
[[noreturn]] void execChild(const char* path, char* const* argv, char* const* envp, const char* directory) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Ignored signals survive exec; the host may ignore some a shell expects to receive.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal : std::array{SIGPIPE, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGCHLD, SIGTSTP, SIGTTIN, SIGTTOU})
        sigaction(signal, &defaultAction, nullptr);
    // Keep the host's sockets and files out of the child.
    syscall(SYS_close_range, 3U, UINT_MAX, 0U);
    if (directory)
        (void)chdir(directory);
    execve(path, argv, envp);
    _exit(127);
}

} // namespace

std::optional<ForkedChild> PseudoTerminalHelpers::forkAndExec(const std::string& path,
                                                              const std::vector<std::string>& args,
                                                              const std::vector<std::string>& env,
                                                              const std::optional<std::string>& currentDirectory,
                                                              winsize desiredWindowSize) {
    // Everything the child needs is built before the fork.
    std::vector<char*> argv = cStringArray(args);
    std::vector<char*> envp = cStringArray(env);
    const char* directory = currentDirectory ? currentDirectory->c_str() : nullptr;

    int master = -1;
    pid_t pid = forkpty(&master, nullptr, nullptr, &desiredWindowSize);
    if (pid < 0)
        return std::nullopt;
    if (pid == 0)
        execChild(path.c_str(), argv.data(), envp.data(), directory);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    return ForkedChild{pid, master};
}

int PseudoTerminalHelpers::setWinSize(int masterPtyDescriptor, const winsize& windowSize) {
    return ioctl(masterPtyDescriptor, TIOCSWINSZ, &windowSize);
}

std::pair<int, int> PseudoTerminalHelpers::availableBytes(int fd) {
    int size = 0;
    int status = ioctl(fd, FIONREAD, &size);
    return {status, status < 0 ? 0 : size};
}
