#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A 128-bit identifier written as 8-4-4-4-12 hexadecimal digits.
class TarnUUID {
public:
  using Bytes = std::array<std::uint8_t, 16>;

  constexpr TarnUUID() = default;
  constexpr explicit TarnUUID(const Bytes& bytes) : bytes_(bytes) {}

  // A version-4 identifier from the kernel's random source.
  static TarnUUID random();
  // Accepts the canonical 36-character form in either letter case, nothing else.
  static std::optional<TarnUUID> parse(std::string_view text);

  // Canonical upper-case text.
  std::string uuidString() const;
  const Bytes& bytes() const { return bytes_; }

  friend constexpr auto operator<=>(const TarnUUID&, const TarnUUID&) = default;

private:
  Bytes bytes_{};
};

template <>
struct std::hash<TarnUUID> {
  std::size_t operator()(const TarnUUID& uuid) const noexcept;
};
