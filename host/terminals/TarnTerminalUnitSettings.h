#pragma once

#include "host/terminals/TarnTerminalInputStream.h"
#include "sessions/terminal/TarnTerminalSessionRegistry.h"

#include <chrono>

struct TarnTerminalUnitSettings {
    TarnTerminalRegistrySettings registry{};
    TarnTerminalSessionRegistry::Clock clock = &TarnDate::now;
    std::chrono::milliseconds reapInterval{60'000};
    std::size_t maxPendingInputBytesPerSession = TarnTerminalInputStream::defaultMaxPendingBytesPerSession;
};
