#pragma once

#include "engine/terminal/ParserState.h"

#include <cstdint>
#include <vector>

namespace brevlin {

// What the parser hands its error handler about a byte that has no meaning in its state.
struct ParsingState {
    std::int64_t position = 0;
    std::uint8_t code = 0;
    ParserState currentState = ParserState::ground;
    std::int64_t print = -1;
    std::int64_t dcs = -1;
    std::vector<std::uint8_t> osc;
    std::vector<std::uint8_t> apc;
    std::vector<std::uint8_t> collect;
    std::vector<std::int32_t> parameters;
    // Set by the handler to stop the current parse call.
    bool abort = false;
};

} // namespace brevlin
