#pragma once

#include <chrono>
#include <functional>

namespace brevlin {

// Runs delayed work for a terminal on the thread that drives it, so a time-out never races a feed.
class TerminalExecutor {
public:
    virtual ~TerminalExecutor() = default;
    virtual void runAfter(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

} // namespace brevlin
