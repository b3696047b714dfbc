#include "engine/buffer/UnicodeWidthData.h"

#include "generated/UnicodeWidthRanges.h"

namespace brevlin {

const std::span<const UnicodeUtil::LH> UnicodeWidthData::eastAsianWide {unicode_ranges::eastAsianWide};
const std::span<const UnicodeUtil::LH> UnicodeWidthData::zeroWidth {unicode_ranges::zeroWidth};
const std::span<const UnicodeUtil::LH> UnicodeWidthData::emojiVs16Base {unicode_ranges::emojiVs16Base};

} // namespace brevlin
