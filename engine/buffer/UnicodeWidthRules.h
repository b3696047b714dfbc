#pragma once

#include "engine/buffer/UnicodeUtil.h"

#include <span>

namespace brevlin {

// The column-width rules, first match wins. `zeroWidth` holds the marks, line and paragraph
// separators, format characters but the soft hyphen, and emoji modifiers; `eastAsianWide` the
// East Asian Width W and F ranges. Shared by the runtime and the table generator.
constexpr int widthByRules(char32_t rune, std::span<const UnicodeUtil::LH> zeroWidth, std::span<const UnicodeUtil::LH> eastAsianWide)
{
    const auto inTable = [rune](std::span<const UnicodeUtil::LH> table) {
        return UnicodeUtil::bisearch(rune, table, static_cast<int>(table.size()) - 1) == 1;
    };
    if (rune == 0)
        return 0;
    if (rune < 0x20)
        return -1;
    if (rune < 0x7F)
        return 1;
    if (rune <= 0x9F)
        return -1;
    if (inTable(zeroWidth))
        return 0;
    if ((rune >= 0x1160 && rune <= 0x11FF) || (rune >= 0xD7B0 && rune <= 0xD7FF))
        return 0;
    if (rune >= 0x1F1E6 && rune <= 0x1F1FF)
        return 2;
    return inTable(eastAsianWide) ? 2 : 1;
}

// Widths of the Basic Multilingual Plane are looked up in a packed table: two bits per scalar,
// 3 standing for -1.
inline constexpr int basicPlaneSize = 0x10000;

constexpr int unpackBasicPlaneWidth(const std::uint8_t* packed, char32_t rune)
{
    const int code = (packed[rune / 4] >> (rune % 4 * 2)) & 3;
    return code == 3 ? -1 : code;
}

} // namespace brevlin
