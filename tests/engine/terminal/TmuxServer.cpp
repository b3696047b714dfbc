#include "TmuxServer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace brevlin::testing_support {

namespace {

std::string runProgram(const std::vector<std::string>& argv)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> args;
        for (const std::string& argument : argv)
            args.push_back(const_cast<char*>(argument.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char chunk[4096];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], chunk, sizeof chunk)) > 0)
        output.append(chunk, static_cast<std::size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return output;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

} // namespace

TmuxServer::TmuxServer()
    : socketName_("tarnhold-termdiff-" + std::to_string(getpid()))
{
    run({"-f", "/dev/null", "new-session", "-d", "-s", "keeper", "-x", "20", "-y", "5", "sleep 600", ";", "set", "-g",
        "status", "off"});
    serverPid_ = static_cast<pid_t>(std::atoi(run({"display", "-p", "-t", "keeper", "#{pid}"}).c_str()));
    socketPath_ = run({"display", "-p", "-t", "keeper", "#{socket_path}"});
    while (!socketPath_.empty() && socketPath_.back() == '\n')
        socketPath_.pop_back();
}

TmuxServer::~TmuxServer()
{
    run({"kill-server"});
    if (serverPid_ > 0 && kill(serverPid_, 0) == 0)
        kill(serverPid_, SIGKILL);
    if (!socketPath_.empty())
        unlink(socketPath_.c_str());
}

std::string TmuxServer::run(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> argv {"tmux", "-L", socketName_};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv);
}

TmuxServer::Pane TmuxServer::show(const std::string& streamPath, int cols, int rows)
{
    const std::string session = "stream" + std::to_string(++sessions_);
    const std::string channel = session + "-done";
    run({"new-session", "-d", "-s", session, "-x", std::to_string(cols), "-y", std::to_string(rows),
        "stty -opost -echo; cat '" + streamPath + "'; tmux -L " + socketName_ + " wait-for -S " + channel + "; sleep 600"});
    run({"wait-for", channel});

    // The pane may still be parsing what cat wrote: wait until two captures agree.
    Pane pane;
    std::string previous;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string capture = run({"capture-pane", "-p", "-t", session}) + "|"
            + run({"display", "-p", "-t", session, "#{cursor_x},#{cursor_y}"});
        if (capture == previous)
            break;
        previous = capture;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    const std::size_t separator = previous.rfind('|');
    pane.rows = splitLines(previous.substr(0, separator));
    pane.rows.resize(static_cast<std::size_t>(rows));
    const std::string cursor = previous.substr(separator + 1);
    pane.cursor = {std::atoi(cursor.c_str()), std::atoi(cursor.c_str() + cursor.find(',') + 1)};
    run({"kill-session", "-t", session});
    return pane;
}

} // namespace brevlin::testing_support
