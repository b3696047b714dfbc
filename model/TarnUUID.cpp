#include "model/TarnUUID.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::size_t kTextLength = 36;

constexpr bool isHyphenPosition(std::size_t index) {
  return index == 8 || index == 13 || index == 18 || index == 23;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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
  Bytes bytes{};
  std::size_t byteIndex = 0;
  for (std::size_t i = 0; i < kTextLength;) {
    if (isHyphenPosition(i)) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    int high = hexValue(text[i]);
    int low = hexValue(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[byteIndex++] = static_cast<std::uint8_t>(high << 4 | low);
    i += 2;
  }
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
