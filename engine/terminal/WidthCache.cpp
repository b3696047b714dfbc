#include "engine/terminal/WidthCache.h"

#include "engine/buffer/UnicodeUtil.h"

namespace brevlin {

int WidthCache::columnWidth(char32_t scalar)
{
    Entry& entry = entries_[scalar % size];
    if (entry.scalar != scalar) {
        entry.scalar = scalar;
        entry.width = static_cast<std::int8_t>(UnicodeUtil::columnWidth(scalar));
    }
    return entry.width;
}

} // namespace brevlin
