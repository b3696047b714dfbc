#include "model/TarnDate.h"

#include <cmath>
#include <cstdint>

namespace {

using namespace std::chrono;

constexpr std::size_t kDateTimeLength = 19; // "YYYY-MM-DDTHH:MM:SS"

// Reads exactly `count` decimal digits starting at `offset`.
std::optional<int> readDigits(std::string_view text, std::size_t offset, std::size_t count) {
  if (offset + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = offset; i < offset + count; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

void appendPadded(std::string& out, long value, int width) {
  std::string digits = std::to_string(value);
  out.append(static_cast<std::size_t>(width) - std::min<std::size_t>(digits.size(), width), '0');
  out += digits;
}

// Offset of local time from UTC in seconds, from "Z" or "+hh:mm" / "-hh:mm".
std::optional<int> readZone(std::string_view zone) {
  if (zone == "Z") return 0;
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':') return std::nullopt;
  auto hours = readDigits(zone, 1, 2);
  auto minutes = readDigits(zone, 4, 2);
  if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
  int offset = *hours * 3600 + *minutes * 60;
  return zone[0] == '-' ? -offset : offset;
}

} // namespace

TarnDate TarnDate::now() {
  return fromSystemClock(system_clock::now());
}

TarnDate TarnDate::fromSystemClock(system_clock::time_point time) {
  auto sinceEpoch = duration_cast<duration<double>>(time.time_since_epoch());
  return fromUnixSeconds(sinceEpoch.count());
}

system_clock::time_point TarnDate::toSystemClock() const {
  // Saturate instead of overflowing the clock's integer ticks.
  using Seconds = duration<double>;
  const double earliest = duration_cast<Seconds>(system_clock::time_point::min().time_since_epoch()).count();
  const double latest = duration_cast<Seconds>(system_clock::time_point::max().time_since_epoch()).count();
  double unix = unixSeconds();
  if (std::isnan(unix) || unix <= earliest) return system_clock::time_point::min();
  if (unix >= latest) return system_clock::time_point::max();
  return system_clock::time_point(duration_cast<system_clock::duration>(Seconds(unix)));
}

TarnDate TarnDate::wholeSeconds() const {
  return TarnDate(std::floor(seconds_));
}

std::optional<std::string> TarnDate::iso8601String() const {
  double unix = std::floor(unixSeconds());
  // Years 1 to 9999 span about ±3.2e11 seconds around 1970.
  if (!std::isfinite(unix) || std::fabs(unix) > 3.0e11) return std::nullopt;
  auto totalSeconds = static_cast<std::int64_t>(unix);
  auto dayCount = static_cast<std::int64_t>(std::floor(static_cast<double>(totalSeconds) / 86400.0));
  std::int64_t secondOfDay = totalSeconds - dayCount * 86400;
  year_month_day date{sys_days{days{dayCount}}};
  int year = static_cast<int>(date.year());
  if (year < 1 || year > 9999) return std::nullopt;

  std::string text;
  text.reserve(kDateTimeLength + 1);
  appendPadded(text, year, 4);
  text += '-';
  appendPadded(text, static_cast<unsigned>(date.month()), 2);
  text += '-';
  appendPadded(text, static_cast<unsigned>(date.day()), 2);
  text += 'T';
  appendPadded(text, static_cast<long>(secondOfDay / 3600), 2);
  text += ':';
  appendPadded(text, static_cast<long>(secondOfDay / 60 % 60), 2);
  text += ':';
  appendPadded(text, static_cast<long>(secondOfDay % 60), 2);
  text += 'Z';
  return text;
}

std::optional<TarnDate> TarnDate::parseISO8601(std::string_view text) {
  if (text.size() < kDateTimeLength + 1) return std::nullopt;
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  auto yearValue = readDigits(text, 0, 4);
  auto monthValue = readDigits(text, 5, 2);
  auto dayValue = readDigits(text, 8, 2);
  auto hour = readDigits(text, 11, 2);
  auto minute = readDigits(text, 14, 2);
  auto second = readDigits(text, 17, 2);
  auto zoneOffset = readZone(text.substr(kDateTimeLength));
  if (!yearValue || !monthValue || !dayValue || !hour || !minute || !second || !zoneOffset) {
    return std::nullopt;
  }
  if (*hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  year_month_day date{year{*yearValue}, month{static_cast<unsigned>(*monthValue)},
                      day{static_cast<unsigned>(*dayValue)}};
  if (*yearValue < 1 || !date.ok()) return std::nullopt;

  auto dayStart = sys_days{date}.time_since_epoch().count();
  double unix = static_cast<double>(dayStart) * 86400.0 + *hour * 3600 + *minute * 60 + *second -
                *zoneOffset;
  return fromUnixSeconds(unix);
}
