#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace brevlin {

// Cell codes for characters: a scalar of the Basic Multilingual Plane is its own code; anything
// else (several scalars, or one above U+FFFF) is interned once under a code from 0x400001 up.
// The table only grows: a code handed out stays valid for the life of the terminal.
class GraphemeTable {
public:
    static constexpr std::int32_t firstInternedCode = 0x400001;
    static constexpr std::int32_t lineFeedCode = 10;

    std::int32_t code(std::u32string_view character);
    // The character of a code; a space for codes that are no scalar and were never handed out.
    std::u32string character(std::int32_t code) const;

    std::int32_t lastCharIndex() const { return lastCharIndex_; }

private:
    std::unordered_map<std::u32string, std::int32_t> charToIndexMap_;
    std::unordered_map<std::int32_t, std::u32string> indexToCharMap_;
    std::int32_t lastCharIndex_ = firstInternedCode;
};

} // namespace brevlin
