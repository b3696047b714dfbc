#include "engine/buffer/UnicodeUtil.h"

#include "engine/buffer/UnicodeWidthData.h"

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

int searchAll(char32_t rune, std::span<const UnicodeUtil::LH> table)
{
    return table.empty() ? 0 : UnicodeUtil::bisearch(rune, table, static_cast<int>(table.size()) - 1);
}

} // namespace

const std::array<std::uint8_t, 256> UnicodeUtil::first = makeLeadByteTable();

int UnicodeUtil::bisearch(char32_t rune, std::span<const LH> table, int max)
{
    if (table.empty() || max < 0)
        return 0;
    if (max >= static_cast<int>(table.size()))
        max = static_cast<int>(table.size()) - 1;
    if (rune < table[0].lo || rune > table[static_cast<std::size_t>(max)].hi)
        return 0;
    int lo = 0;
    int hi = max;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const LH& range = table[static_cast<std::size_t>(mid)];
        if (range.hi < rune)
            lo = mid + 1;
        else if (rune >= range.lo)
            return 1;
        else
            hi = mid - 1;
    }
    return 0;
}

int UnicodeUtil::columnWidth(char32_t rune)
{
    if (rune == 0)
        return 0;
    if (rune < 0x20)
        return -1;
    if (rune < 0x7F)
        return 1;
    if (rune <= 0x9F)
        return -1;
    if (searchAll(rune, UnicodeWidthData::zeroWidth))
        return 0;
    if ((rune >= 0x1160 && rune <= 0x11FF) || (rune >= 0xD7B0 && rune <= 0xD7FF))
        return 0;
    if (rune >= 0x1F1E6 && rune <= 0x1F1FF)
        return 2;
    return searchAll(rune, UnicodeWidthData::eastAsianWide) ? 2 : 1;
}

} // namespace brevlin
