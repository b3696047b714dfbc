#pragma once

#include "engine/buffer/CharData.h"

#include <cstring>

namespace brevlin {

// Fills a run of cells with one value. Copying each cell as raw bytes lets the compiler use two
// wide stores per cell; a plain assignment is split field by field around the padding.
inline void fillCells(CharData* first, CharData* last, const CharData& value)
{
    const CharData copy = value;
    for (CharData* cell = first; cell != last; ++cell)
        std::memcpy(static_cast<void*>(cell), &copy, sizeof(CharData));
}

} // namespace brevlin
