#pragma once

#include "engine/buffer/UnicodeUtil.h"

#include <span>

namespace brevlin {

// Tables generated at build time from the Unicode Character Database; sorted, non-overlapping.
struct UnicodeWidthData {
    // East Asian Width W and F.
    static const std::span<const UnicodeUtil::LH> eastAsianWide;
    // Marks, line and paragraph separators, format characters but the soft hyphen, emoji modifiers.
    static const std::span<const UnicodeUtil::LH> zeroWidth;
    // Scalars that have an emoji presentation sequence with U+FE0F.
    static const std::span<const UnicodeUtil::LH> emojiVs16Base;
};

} // namespace brevlin
