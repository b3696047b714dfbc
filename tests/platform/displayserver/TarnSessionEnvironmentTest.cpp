#include "platform/displayserver/TarnSessionEnvironment.h"

#include <gtest/gtest.h>

TEST(TarnSessionEnvironment, TellsTheDisplayServerFromTheEnvironment) {
  struct Case {
    TarnSessionEnvironment environment;
    TarnSessionType expected;
  };
  const Case cases[] = {
      {{":0", "", "x11"}, TarnSessionType::x11},
      {{":0", "", ""}, TarnSessionType::x11},
      {{":0", "wayland-0", "wayland"}, TarnSessionType::wayland},  // XWayland sees no other clients
      {{":0", "", "wayland"}, TarnSessionType::wayland},
      {{"", "wayland-0", ""}, TarnSessionType::wayland},
      {{"", "", "tty"}, TarnSessionType::none},
  };
  for (const Case& test : cases)
    EXPECT_EQ(test.environment.type(), test.expected) << test.environment.display << "|"
                                                      << test.environment.waylandDisplay << "|"
                                                      << test.environment.sessionType;
}
