#include "engine/buffer/Buffer.h"

#include <algorithm>

namespace brevlin {

// Cells of a wrapped row travel between rows only through these helpers; they never split a
// wide character from its continuation cell.

void Buffer::reflowWider(int, int, int)
{
}

void Buffer::reflowNarrower(int, int, int)
{
}

} // namespace brevlin
