#pragma once

#include "engine/buffer/CharacterSetTable.h"

#include <cstdint>
#include <map>

namespace brevlin {


// The DEC special graphics and national replacement sets, by designator byte.
class CharSets {
public:
    CharSets() = delete;
    static const std::map<std::uint8_t, CharacterSetTable>& all();
};

} // namespace brevlin
