#pragma once

namespace brevlin {

// Whether a row continues the row above it (a soft wrap).
enum class LineWrap : bool { unwrapped = false, wrapped = true };

} // namespace brevlin
