#include "engine/buffer/UnicodeUtil.h"

#include "engine/buffer/UnicodeWidthRules.h"
#include "generated/UnicodeWidthRanges.h"

namespace brevlin {

namespace {

constexpr std::array<std::uint8_t, 256> makeLeadByteTable()
{
    std::array<std::uint8_t, 256> table {};
    for (int byte = 0; byte < 256; ++byte) {
        std::uint8_t value = 0xF1;
        if (byte < 0x80)
            value = 0xF0;
        else if (byte >= 0xC2 && byte <= 0xDF)
            value = 0x02;
        else if (byte == 0xE0)
            value = 0x13;
        else if (byte == 0xED)
            value = 0x23;
        else if (byte >= 0xE1 && byte <= 0xEF)
            value = 0x03;
        else if (byte == 0xF0)
            value = 0x34;
        else if (byte >= 0xF1 && byte <= 0xF3)
            value = 0x04;
        else if (byte == 0xF4)
            value = 0x44;
        table[static_cast<std::size_t>(byte)] = value;
    }
    return table;
}

} // namespace

const std::array<std::uint8_t, 256> UnicodeUtil::first = makeLeadByteTable();

int UnicodeUtil::columnWidth(char32_t rune)
{
    if (rune >= 0x20 && rune < 0x7F)
        return 1;
    if (rune < static_cast<char32_t>(basicPlaneSize))
        return unpackBasicPlaneWidth(unicode_ranges::basicPlaneWidths, rune);
    return widthByRules(rune, unicode_ranges::zeroWidth, unicode_ranges::eastAsianWide);
}

} // namespace brevlin
