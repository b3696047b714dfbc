#pragma once

#include "engine/terminal/ParserState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace brevlin {

// Flat (state, byte) -> (action, next state) table. Every byte from 0xA0 up shares column 0xA0,
// so 15 states need 14 * 256 + 0xA1 entries; 4095 leaves room without a 4096th slot.
class TransitionTable {
public:
    static constexpr std::size_t length = 4095;

    static constexpr std::size_t indexOf(ParserState state, std::uint8_t byte)
    {
        return (static_cast<std::size_t>(state) << 8) | (byte < 0xA0 ? byte : 0xA0);
    }

    constexpr void add(std::uint8_t code, ParserState state, ParserAction action, ParserState next)
    {
        table_[indexOf(state, code)] = static_cast<std::uint8_t>(static_cast<unsigned>(action) << 4 | static_cast<unsigned>(next));
    }

    template <typename Codes>
        requires(!std::is_integral_v<Codes>)
    constexpr void add(const Codes& codes, ParserState state, ParserAction action, ParserState next)
    {
        for (std::uint8_t code : codes)
            add(code, state, action, next);
    }

    constexpr std::uint8_t operator[](std::size_t index) const { return table_[index]; }

    constexpr std::uint8_t entry(ParserState state, std::uint8_t byte) const { return table_[indexOf(state, byte)]; }

private:
    std::array<std::uint8_t, length> table_ {};
};

constexpr ParserAction actionOf(std::uint8_t entry) { return static_cast<ParserAction>(entry >> 4); }
constexpr ParserState nextStateOf(std::uint8_t entry) { return static_cast<ParserState>(entry & 0x0F); }

} // namespace brevlin
