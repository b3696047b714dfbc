#pragma once

#include "host/terminals/TarnTerminalInputEvent.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <unordered_map>

// Keystrokes and resizes of every client, applied strictly in arrival order: one event at a time,
// the next only after the previous one is done. Each session may have only a bounded amount waiting.
class TarnTerminalInputStream {
public:
    // Applies one event and calls the completion when it is done (possibly later).
    using Apply = std::function<void(const TarnTerminalInputEvent&, std::function<void()> done)>;

    static constexpr std::size_t defaultMaxPendingBytesPerSession = 1024 * 1024;

    explicit TarnTerminalInputStream(Apply apply,
                                     std::size_t maxPendingBytesPerSession = defaultMaxPendingBytesPerSession);

    // False, and nothing queued, when the session already has too much waiting.
    bool enqueue(TarnTerminalInputEvent event);
    // Drops what is waiting; an event being applied still completes.
    void stop();

private:
    void applyNext();
    void finished(const TarnTerminalInputEvent& event);

    const Apply apply_;
    const std::size_t maxPendingBytesPerSession_;
    std::deque<TarnTerminalInputEvent> events_;
    std::unordered_map<TarnUUID, std::size_t> pendingBytes_;
    bool applying_ = false;
    unsigned generation_ = 0; // completions of events dropped by stop() belong to an older one
};
