#pragma once

#include "sessions/pty/LocalProcessSettings.h"

#include <cstddef>
#include <cstdint>

enum class TarnTerminalError { capacityReached, startFailed };
enum class TarnTerminalInputResult { taken, refusedBacklogFull };

struct TarnTerminalRegistrySettings {
    std::int64_t maxSessions = 8;
    std::int64_t scrollbackCapacity = 262'144;
    double idleTimeout = 1'800.0; // seconds without input, resize, attach or output
    // Output of one session waiting for the host; beyond it the shell is slowed down.
    std::size_t maxBufferedOutputBytes = 4 * 1024 * 1024;
    LocalProcessSettings process{};
};
