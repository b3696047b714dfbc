#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// Enumerations whose values travel or are stored as their case names specialise
// TarnEnumNames with the names in declaration order; the cases must be 0, 1, 2, ...
template <class E>
struct TarnEnumNames;

template <class E>
concept TarnRawEnum = requires {
  TarnEnumNames<E>::values.size();
};

template <TarnRawEnum E>
constexpr std::string_view rawValue(E value) {
  return TarnEnumNames<E>::values[static_cast<std::size_t>(value)];
}

// Exact, case-sensitive match of a case name.
template <TarnRawEnum E>
constexpr std::optional<E> enumFromRawValue(std::string_view text) {
  const auto& names = TarnEnumNames<E>::values;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) return static_cast<E>(i);
  }
  return std::nullopt;
}

template <TarnRawEnum E>
constexpr auto allCases() {
  constexpr std::size_t count = TarnEnumNames<E>::values.size();
  std::array<E, count> cases{};
  for (std::size_t i = 0; i < count; ++i) cases[i] = static_cast<E>(i);
  return cases;
}
