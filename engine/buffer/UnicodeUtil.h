#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace brevlin {

// Column widths of Unicode scalars and the UTF-8 lead-byte classes of the printing path.
struct UnicodeUtil {
    // One inclusive range of scalars.
    struct LH {
        std::uint32_t lo;
        std::uint32_t hi;
    };

    // 0 (joins the previous cell), 1, 2 (wide) or -1 (a control that prints nothing).
    static int columnWidth(char32_t rune);
    // 1 when `rune` lies in one of the ranges 0 to `max` of the sorted table, else 0.
    static constexpr int bisearch(char32_t rune, std::span<const LH> table, int max)
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

    // Indexed by a UTF-8 lead byte: 0xF0 one byte, 0xF1 not a lead byte; otherwise the low nibble
    // is the sequence length and the high nibble the range class of the second byte.
    static const std::array<std::uint8_t, 256> first;
};

} // namespace brevlin
