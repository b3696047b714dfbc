#pragma once

#include <cstdint>
#include <optional>

namespace brevlin {

// States of the VT500-style parser; the raw value is the row of the transition table.
enum class ParserState : std::uint8_t {
    ground = 0,
    escape = 1,
    escapeIntermediate = 2,
    csiEntry = 3,
    csiParam = 4,
    csiIntermediate = 5,
    csiIgnore = 6,
    sosPmApcString = 7,
    oscString = 8,
    apcString = 9,
    dcsEntry = 10,
    dcsParam = 11,
    dcsIgnore = 12,
    dcsIntermediate = 13,
    dcsPassthrough = 14,
};

constexpr std::optional<ParserState> parserStateFromRaw(int raw)
{
    if (raw < 0 || raw > 14)
        return std::nullopt;
    return static_cast<ParserState>(raw);
}

// Actions of the transition table, stored in the high four bits of an entry.
enum class ParserAction : std::uint8_t {
    ignore = 0,
    error = 1,
    print = 2,
    execute = 3,
    oscStart = 4,
    oscPut = 5,
    oscEnd = 6,
    csiDispatch = 7,
    param = 8,
    collect = 9,
    escDispatch = 10,
    clear = 11,
    dcsHook = 12,
    dcsPut = 13,
    dcsUnhook = 14,
};

} // namespace brevlin
