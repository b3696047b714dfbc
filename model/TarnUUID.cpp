#include "model/TarnUUID.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::size_t kTextLength = 36;

bool isHyphenAt(std::string_view text, std::size_t index) {
  return text[index] == '-';
}

constexpr std::uint8_t kNotHex = 0xFF;

constexpr std::array<std::uint8_t, 256> makeHexTable() {
  std::array<std::uint8_t, 256> table{};
  table.fill(kNotHex);
  for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::uint8_t>(i);
  for (int i = 0; i < 6; ++i) {
    table['a' + i] = static_cast<std::uint8_t>(10 + i);
    table['A' + i] = static_cast<std::uint8_t>(10 + i);
  }
  return table;
}

constexpr auto kHexValues = makeHexTable();

void fillRandom(std::uint8_t* data, std::size_t size) {
  std::size_t filled = 0;
  while (filled < size) {
    ssize_t got = getrandom(data + filled, size - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("getrandom failed: ") + std::strerror(errno));
    }
    filled += static_cast<std::size_t>(got);
  }
}

} // namespace

TarnUUID TarnUUID::random() {
  Bytes bytes;
  fillRandom(bytes.data(), bytes.size());
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  return TarnUUID(bytes);
}

std::optional<TarnUUID> TarnUUID::parse(std::string_view text) {
  if (text.size() != kTextLength) return std::nullopt;
  if (!isHyphenAt(text, 8) || !isHyphenAt(text, 13) || !isHyphenAt(text, 18) ||
      !isHyphenAt(text, 23)) {
    return std::nullopt;
  }
  // Offsets of the 16 digit pairs between the hyphens.
  static constexpr std::array<std::uint8_t, 16> pairOffsets = {
      0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
  Bytes bytes{};
  std::uint8_t invalid = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::uint8_t high = kHexValues[static_cast<unsigned char>(text[pairOffsets[i]])];
    std::uint8_t low = kHexValues[static_cast<unsigned char>(text[pairOffsets[i] + 1])];
    invalid |= (high | low) & 0xF0;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  if (invalid) return std::nullopt;
  return TarnUUID(bytes);
}

std::string TarnUUID::uuidString() const {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(kTextLength);
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
    text.push_back(digits[bytes_[i] >> 4]);
    text.push_back(digits[bytes_[i] & 0x0F]);
  }
  return text;
}

std::size_t std::hash<TarnUUID>::operator()(const TarnUUID& uuid) const noexcept {
  std::uint64_t high;
  std::uint64_t low;
  std::memcpy(&high, uuid.bytes().data(), sizeof high);
  std::memcpy(&low, uuid.bytes().data() + sizeof high, sizeof low);
  return static_cast<std::size_t>(high ^ (low * 0x9E3779B97F4A7C15ULL));
}
