#pragma once

#include <string>

namespace brevlin {

// True for U+0000 to U+10FFFF without the surrogates.
constexpr bool isUnicodeScalar(char32_t value)
{
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// Appends the UTF-8 form of a scalar; anything that is not a scalar becomes U+FFFD.
void appendUtf8(std::string& out, char32_t scalar);

} // namespace brevlin
