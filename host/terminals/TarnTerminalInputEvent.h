#pragma once

#include "model/TarnUUID.h"

#include <cstdint>
#include <string>
#include <variant>

// One unit of ordered terminal input: keystrokes or a resize.
struct TarnTerminalInputBytes {
    TarnUUID sessionID;
    std::string bytes;
    TarnUUID fromClient{}; // told when the session refuses the bytes
};

struct TarnTerminalInputResize {
    TarnUUID sessionID;
    std::int64_t cols = 0;
    std::int64_t rows = 0;
};

using TarnTerminalInputEvent = std::variant<TarnTerminalInputBytes, TarnTerminalInputResize>;
