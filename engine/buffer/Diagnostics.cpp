#include "engine/buffer/Diagnostics.h"

#include <cstdio>

namespace brevlin {

void printDiagnostic(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

} // namespace brevlin
