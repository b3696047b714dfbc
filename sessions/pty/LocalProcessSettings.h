#pragma once

#include <chrono>
#include <cstddef>

// What became of bytes handed to a child.
enum class SendOutcome { queued, notRunning, inputBacklogFull };

struct LocalProcessSettings {
    // The most bytes one read takes from the master and one delivered chunk holds.
    static constexpr std::size_t readSize = 131072;

    // Output read but not yet handed to the delegate; when it is full the master is not read,
    // so a child that writes faster than its owner consumes blocks as on a real terminal.
    std::size_t maxPendingOutputBytes = 4 * 1024 * 1024;
    // Input written to the terminal but not yet taken by the child; more is refused, so a child
    // that stops reading cannot make its owner buffer without end.
    std::size_t maxPendingInputBytes = 1024 * 1024;
    // How long terminate() waits after the hang-up and SIGTERM before it sends SIGKILL.
    std::chrono::milliseconds terminateGrace{2000};
    // After the child has exited, how long a quiet master may stay open (a background process
    // still holding the terminal) before the end is reported anyway.
    std::chrono::milliseconds exitDrainGrace{250};
};
