#pragma once

#include <cassert>
#include <string_view>

namespace brevlin {

// Consistency messages of the screen model go to standard output whatever the terminal's
// silent-log option says: they report a caller's mistake that the model has worked around.
void printDiagnostic(std::string_view line);

} // namespace brevlin

// A broken caller contract stops debug builds at once; release builds take the safe path that
// follows the check, because the engine must never abort its host.
#define BREVLIN_DEBUG_ASSERT(condition) assert(condition)
