#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace brevlin {

// A character-set translation: byte to the text shown in its place.
using CharacterSetTable = std::unordered_map<std::uint8_t, std::string>;

} // namespace brevlin
