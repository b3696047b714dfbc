#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace brevlin::testing_support {

// A private tmux server (its own socket name, no configuration) that shows byte streams in
// detached panes, for comparing our screen with tmux's. Stopped by its process id at the end.
class TmuxServer {
public:
    TmuxServer();
    ~TmuxServer();
    TmuxServer(const TmuxServer&) = delete;
    TmuxServer& operator=(const TmuxServer&) = delete;

    struct Pane {
        std::vector<std::string> rows;
        std::pair<int, int> cursor;
    };

    // Shows the file's bytes raw (no output processing, no echo) in a cols x rows pane and
    // returns what the pane shows once the output has settled.
    Pane show(const std::string& streamPath, int cols, int rows);

    // Runs tmux on this server's socket; returns standard output.
    std::string run(const std::vector<std::string>& arguments) const;

private:
    std::string socketName_;
    std::string socketPath_;
    pid_t serverPid_ = 0;
    int sessions_ = 0;
};

} // namespace brevlin::testing_support
