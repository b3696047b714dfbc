#pragma once

#include <chrono>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

// A point in time, held as seconds since 2001-01-01T00:00:00Z.
class TarnDate {
public:
  // Seconds from 1970-01-01T00:00:00Z to the reference date.
  static constexpr double referenceDateUnixSeconds = 978'307'200.0;

  constexpr TarnDate() = default;
  constexpr explicit TarnDate(double secondsSinceReferenceDate)
      : seconds_(secondsSinceReferenceDate) {}

  static TarnDate now();
  static TarnDate fromSystemClock(std::chrono::system_clock::time_point time);
  static constexpr TarnDate fromUnixSeconds(double unixSeconds) {
    return TarnDate(unixSeconds - referenceDateUnixSeconds);
  }

  constexpr double secondsSinceReferenceDate() const { return seconds_; }
  constexpr double unixSeconds() const { return seconds_ + referenceDateUnixSeconds; }
  std::chrono::system_clock::time_point toSystemClock() const;

  // The start of the second this date lies in.
  TarnDate wholeSeconds() const;

  // "2026-12-09T21:45:00Z": UTC, whole seconds (the fraction is dropped).
  // Nothing when the date is not finite or falls outside the years 1 to 9999.
  std::optional<std::string> iso8601String() const;
  // Reads the RFC 3339 internet form without a fraction: "Z" or a "+hh:mm"/"-hh:mm" offset.
  static std::optional<TarnDate> parseISO8601(std::string_view text);

  friend constexpr auto operator<=>(const TarnDate&, const TarnDate&) = default;

private:
  double seconds_ = 0;
};
