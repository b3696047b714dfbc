#pragma once

#include <array>
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
    static int bisearch(char32_t rune, std::span<const LH> table, int max);

    // Indexed by a UTF-8 lead byte: 0xF0 one byte, 0xF1 not a lead byte; otherwise the low nibble
    // is the sequence length and the high nibble the range class of the second byte.
    static const std::array<std::uint8_t, 256> first;
};

} // namespace brevlin
