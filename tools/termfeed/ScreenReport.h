#pragma once

#include "engine/terminal/Terminal.h"

#include <ostream>

namespace termfeed {

// Writes the visible rows (trailing blanks trimmed), the cursor, the title and the main modes.
void printScreenReport(const brevlin::Terminal& terminal, std::ostream& out);

} // namespace termfeed
