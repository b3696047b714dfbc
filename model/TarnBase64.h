#pragma once

#include <optional>
#include <string>
#include <string_view>

// Standard base64 (RFC 4648 alphabet, padded, no line breaks).
namespace TarnBase64 {

std::string encode(std::string_view bytes);
// Strict: the length must be a multiple of four and every character in the alphabet, with
// at most two padding characters at the end; white space is not skipped. "" gives no bytes.
std::optional<std::string> decode(std::string_view text);

} // namespace TarnBase64
