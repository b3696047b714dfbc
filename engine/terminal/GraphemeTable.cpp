#include "engine/terminal/GraphemeTable.h"

namespace brevlin {

std::int32_t GraphemeTable::code(std::u32string_view character)
{
    if (character.size() == 1 && character[0] <= 0xFFFF)
        return static_cast<std::int32_t>(character[0]);
    if (character == U"\r\n")
        return lineFeedCode;
    std::u32string key(character);
    if (auto found = charToIndexMap_.find(key); found != charToIndexMap_.end())
        return found->second;
    const std::int32_t assigned = lastCharIndex_++;
    indexToCharMap_.emplace(assigned, key);
    charToIndexMap_.emplace(std::move(key), assigned);
    return assigned;
}

std::u32string GraphemeTable::character(std::int32_t code) const
{
    if (code >= 0 && code < firstInternedCode) {
        const bool isScalar = code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        return std::u32string(1, isScalar ? static_cast<char32_t>(code) : U' ');
    }
    if (auto found = indexToCharMap_.find(code); found != indexToCharMap_.end())
        return found->second;
    return U" ";
}

} // namespace brevlin
