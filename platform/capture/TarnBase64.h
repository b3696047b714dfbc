#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Standard base64 (RFC 4648 alphabet, padded, no line breaks) of `size` bytes, written into `out`.
void tarnAppendBase64(const uint8_t* data, size_t size, std::string& out);
