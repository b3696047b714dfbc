#include "model/TarnBase64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
  std::array<std::uint8_t, 256> table{};
  table.fill(kInvalid);
  for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
  return table;
}

constexpr auto kDecodeTable = makeDecodeTable();

} // namespace

namespace TarnBase64 {

std::string encode(std::string_view bytes) {
  std::string text;
  text.resize((bytes.size() + 2) / 3 * 4);
  auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
  char* out = text.data();
  std::size_t whole = bytes.size() / 3 * 3;
  for (std::size_t i = 0; i < whole; i += 3) {
    std::uint32_t group = in[i] << 16 | in[i + 1] << 8 | in[i + 2];
    *out++ = kAlphabet[group >> 18 & 0x3F];
    *out++ = kAlphabet[group >> 12 & 0x3F];
    *out++ = kAlphabet[group >> 6 & 0x3F];
    *out++ = kAlphabet[group & 0x3F];
  }
  std::size_t rest = bytes.size() - whole;
  if (rest > 0) {
    std::uint32_t group = in[whole] << 16 | (rest == 2 ? in[whole + 1] << 8 : 0);
    *out++ = kAlphabet[group >> 18 & 0x3F];
    *out++ = kAlphabet[group >> 12 & 0x3F];
    *out++ = rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=';
    *out++ = '=';
  }
  return text;
}

std::optional<std::string> decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;

  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    bool lastGroup = i + 4 == text.size();
    std::size_t dataChars = lastGroup ? 4 - padding : 4;
    std::uint32_t group = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      std::uint8_t value = 0;
      if (j < dataChars) {
        value = kDecodeTable[static_cast<unsigned char>(text[i + j])];
        if (value == kInvalid) return std::nullopt;
      }
      group = group << 6 | value;
    }
    bytes.push_back(static_cast<char>(group >> 16));
    if (dataChars > 2) bytes.push_back(static_cast<char>(group >> 8 & 0xFF));
    if (dataChars > 3) bytes.push_back(static_cast<char>(group & 0xFF));
  }
  return bytes;
}

} // namespace TarnBase64
