#pragma once

#include <cstdint>

namespace brevlin {

// Rendition bits of a cell, as an option set over one byte.
struct CharacterStyle {
    std::uint8_t rawValue = 0;

    static const CharacterStyle none;
    static const CharacterStyle bold;
    static const CharacterStyle underline;
    static const CharacterStyle blink;
    static const CharacterStyle inverse;
    static const CharacterStyle invisible;
    static const CharacterStyle dim;
    static const CharacterStyle italic;
    static const CharacterStyle crossedOut;

    // The style byte of a packed 32-bit attribute word sits at bit 18.
    static constexpr CharacterStyle fromAttributeWord(std::int32_t word)
    {
        return {static_cast<std::uint8_t>((static_cast<std::uint32_t>(word) >> 18) & 0xFF)};
    }

    constexpr bool contains(CharacterStyle other) const { return (rawValue & other.rawValue) == other.rawValue; }
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool isSubset(CharacterStyle of) const { return (rawValue & ~of.rawValue) == 0; }
    constexpr bool isDisjoint(CharacterStyle with) const { return (rawValue & with.rawValue) == 0; }
    constexpr void insert(CharacterStyle other) { rawValue |= other.rawValue; }
    constexpr void remove(CharacterStyle other) { rawValue &= static_cast<std::uint8_t>(~other.rawValue); }

    friend constexpr CharacterStyle operator|(CharacterStyle a, CharacterStyle b) { return {static_cast<std::uint8_t>(a.rawValue | b.rawValue)}; }
    friend constexpr CharacterStyle operator&(CharacterStyle a, CharacterStyle b) { return {static_cast<std::uint8_t>(a.rawValue & b.rawValue)}; }
    friend constexpr CharacterStyle operator^(CharacterStyle a, CharacterStyle b) { return {static_cast<std::uint8_t>(a.rawValue ^ b.rawValue)}; }
    friend constexpr CharacterStyle operator-(CharacterStyle a, CharacterStyle b) { return {static_cast<std::uint8_t>(a.rawValue & ~b.rawValue)}; }
    constexpr CharacterStyle& operator|=(CharacterStyle b) { rawValue |= b.rawValue; return *this; }
    constexpr CharacterStyle& operator&=(CharacterStyle b) { rawValue &= b.rawValue; return *this; }
    friend constexpr bool operator==(CharacterStyle, CharacterStyle) = default;
};

inline constexpr CharacterStyle CharacterStyle::none{0};
inline constexpr CharacterStyle CharacterStyle::bold{1};
inline constexpr CharacterStyle CharacterStyle::underline{2};
inline constexpr CharacterStyle CharacterStyle::blink{4};
inline constexpr CharacterStyle CharacterStyle::inverse{8};
inline constexpr CharacterStyle CharacterStyle::invisible{16};
inline constexpr CharacterStyle CharacterStyle::dim{32};
inline constexpr CharacterStyle CharacterStyle::italic{64};
inline constexpr CharacterStyle CharacterStyle::crossedOut{128};

} // namespace brevlin
