#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace brevlin {

// Translation table of one designated character set: a 7-bit byte to the UTF-8 text printed
// in its place. Bytes without an entry print as themselves.
using CharsetTable = std::map<std::uint8_t, std::string>;

// The DEC special graphics and national replacement sets, by designator byte.
class CharSets {
public:
    CharSets() = delete;
    static const std::map<std::uint8_t, CharsetTable>& all();
};

} // namespace brevlin
