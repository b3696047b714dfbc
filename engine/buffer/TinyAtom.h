#pragma once

#include <cstdint>

namespace brevlin {

// A 16-bit handle to a cell payload kept in a TinyAtomTable; code 0 means no payload.
struct TinyAtom {
    std::uint16_t code = 0;

    friend constexpr bool operator==(TinyAtom, TinyAtom) = default;
};

} // namespace brevlin
