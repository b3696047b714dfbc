#pragma once
#include <cstdint>

// The X keysym that types `codePoint`; 0 for control characters that have no key.
uint32_t tarnKeysymForCodePoint(char32_t codePoint);

