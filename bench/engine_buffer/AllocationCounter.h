#pragma once

#include <cstdint>

namespace brevlin::bench {

// Number of calls to the replaced global operator new since the program started.
std::uint64_t allocationCount();

} // namespace brevlin::bench
