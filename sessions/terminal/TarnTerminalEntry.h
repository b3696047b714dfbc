#pragma once

#include "model/TarnDate.h"
#include "model/TarnUUID.h"
#include "sessions/terminal/TarnPTYSession.h"
#include "sessions/terminal/TarnScrollbackBuffer.h"
#include "sessions/terminal/TarnSessionEventStream.h"

#include <cstdint>
#include <memory>
#include <optional>

// One shell session as the registry keeps it.
struct TarnTerminalEntry {
    TarnTerminalEntry(std::ptrdiff_t scrollbackCapacity, TarnDate now) : scrollback(scrollbackCapacity), createdAt(now), lastActivity(now) {}

    std::shared_ptr<TarnSessionEventStream> stream;
    std::unique_ptr<TarnPTYSession> session;
    TarnScrollbackBuffer scrollback;
    TarnDate createdAt;
    TarnDate lastActivity;
    std::optional<TarnUUID> owner;
    std::int64_t cols = 0;
    std::int64_t rows = 0;
    bool alive = true;
    bool delivering = false;             // an output or replay is with the main context
    bool exited = false;                 // the child ended; closes once the stream is drained
    std::optional<int32_t> exitCode;
};
