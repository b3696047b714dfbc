#include "model/TarnDate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TarnDate, WritesWholeSecondsInUtc) {
  struct Case {
    double secondsSinceReference;
    const char* text;
  };
  const Case cases[] = {
      {0, "2001-01-01T00:00:00Z"},
      {0.999, "2001-01-01T00:00:00Z"},
      {-0.5, "2000-12-31T23:59:59Z"},
      {-TarnDate::referenceDateUnixSeconds, "1970-01-01T00:00:00Z"},
      {TarnDate::fromUnixSeconds(951'782'400).secondsSinceReferenceDate(), "2000-02-29T00:00:00Z"},
      {TarnDate::fromUnixSeconds(1'796'852'700).secondsSinceReferenceDate(), "2026-12-09T21:45:00Z"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TarnDate(c.secondsSinceReference).iso8601String(), c.text) << c.secondsSinceReference;
  }
}

TEST(TarnDate, UnwritableDatesGiveNothing) {
  EXPECT_FALSE(TarnDate(std::numeric_limits<double>::quiet_NaN()).iso8601String());
  EXPECT_FALSE(TarnDate(std::numeric_limits<double>::infinity()).iso8601String());
  EXPECT_FALSE(TarnDate(1e300).iso8601String());
  EXPECT_FALSE(TarnDate::fromUnixSeconds(253'402'300'800).iso8601String()); // year 10000
}

TEST(TarnDate, ReadsTheInternetDateTimeForm) {
  const double dec9 = TarnDate::fromUnixSeconds(1'796'852'700).secondsSinceReferenceDate();
  struct Case {
    const char* text;
    std::optional<double> seconds;
  };
  const Case cases[] = {
      {"2026-12-09T21:45:00Z", dec9},
      {"2026-12-09T23:45:00+02:00", dec9},
      {"2026-12-09T16:15:00-05:30", dec9},
      {"2001-01-01T00:00:00Z", 0.0},
      {"2000-02-29T00:00:00Z", TarnDate::fromUnixSeconds(951'782'400).secondsSinceReferenceDate()},
      {"2026-12-09T21:45:00.250Z", std::nullopt},
      {"2026-12-09T21:45:00", std::nullopt},
      {"2026-12-09 21:45:00Z", std::nullopt},
      {"2026-12-09t21:45:00z", std::nullopt},
      {"2026-02-30T00:00:00Z", std::nullopt},
      {"2026-13-01T00:00:00Z", std::nullopt},
      {"2026-12-09T24:00:00Z", std::nullopt},
      {"2026-12-09T21:60:00Z", std::nullopt},
      {"2026-12-09T21:45:60Z", std::nullopt},
      {"0000-01-01T00:00:00Z", std::nullopt},
      {"2026-12-09T21:45:00+2:00", std::nullopt},
      {"2026-12-09T21:45:00Z ", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    auto date = TarnDate::parseISO8601(c.text);
    if (c.seconds) {
      ASSERT_TRUE(date) << c.text;
      EXPECT_EQ(date->secondsSinceReferenceDate(), *c.seconds) << c.text;
    } else {
      EXPECT_FALSE(date) << c.text;
    }
  }
}

TEST(TarnDate, SystemClockConversionKeepsThePoint) {
  TarnDate date(786'000'000.5);
  EXPECT_NEAR(TarnDate::fromSystemClock(date.toSystemClock()).secondsSinceReferenceDate(),
              date.secondsSinceReferenceDate(), 1e-6);
}

TEST(TarnDate, SystemClockConversionSaturatesOutOfRange) {
  using Clock = std::chrono::system_clock;
  EXPECT_EQ(TarnDate(1e300).toSystemClock(), Clock::time_point::max());
  EXPECT_EQ(TarnDate(-1e300).toSystemClock(), Clock::time_point::min());
  EXPECT_EQ(TarnDate(std::numeric_limits<double>::quiet_NaN()).toSystemClock(), Clock::time_point::min());
}
