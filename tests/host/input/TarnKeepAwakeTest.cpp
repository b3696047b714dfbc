#include "host/input/TarnKeepAwake.h"
#include "tests/support/login1/TarnFakeLogin1.h"

#include <gtest/gtest.h>

TEST(TarnKeepAwake, OneHoldPerSwitchAndTheTwoHoldsAreIndependent) {
  TarnFakeLogin1 login1;
  ASSERT_TRUE(login1.isReady());
  TarnLogindClient logind(login1.connection(), QString());
  TarnKeepAwake keepAwake(logind);

  EXPECT_EQ(keepAwake.setKeepAwake(TarnSwitch::off), QStringLiteral("Tarnhold stopped keeping this Mac awake."));
  EXPECT_EQ(keepAwake.setKeepAwake(TarnSwitch::on), QStringLiteral("Tarnhold will keep this Mac awake during the session."));
  EXPECT_EQ(keepAwake.setKeepAwake(TarnSwitch::on), QStringLiteral("Tarnhold is already keeping this Mac awake."));
  keepAwake.setHostingKeepAwake(TarnSwitch::on);
  keepAwake.setHostingKeepAwake(TarnSwitch::on);
  EXPECT_TRUE(login1.waitForCall("Inhibit what=sleep who=Tarnhold Host why=Reachable over the internet mode=block id=2"));

  keepAwake.stopKeepAwake();
  EXPECT_TRUE(login1.waitForCall("RELEASED id=1"));
  EXPECT_TRUE(keepAwake.isHostingKeepingAwake());
  keepAwake.setHostingKeepAwake(TarnSwitch::off);
  EXPECT_TRUE(login1.waitForCall("RELEASED id=2"));

  std::vector<std::string> inhibits;
  for (const std::string& call : login1.calls())
    if (call.rfind("Inhibit", 0) == 0) inhibits.push_back(call);
  EXPECT_EQ(inhibits, (std::vector<std::string>{
                          "Inhibit what=sleep:idle who=Tarnhold Host why=A remote session is active mode=block id=1",
                          "Inhibit what=sleep who=Tarnhold Host why=Reachable over the internet mode=block id=2"}));
}

TEST(TarnKeepAwake, ARefusedHoldIsReportedAndLeavesNothingHeld) {
  TarnFakeLogin1 login1(TarnFakeLogin1::Answer::refuse);
  ASSERT_TRUE(login1.isReady());
  TarnLogindClient logind(login1.connection(), QString());
  TarnKeepAwake keepAwake(logind);
  EXPECT_EQ(keepAwake.setKeepAwake(TarnSwitch::on), QStringLiteral("Tarnhold could not start the keep-awake helper."));
  EXPECT_FALSE(keepAwake.isKeepingAwake());
  keepAwake.setHostingKeepAwake(TarnSwitch::on);
  EXPECT_FALSE(keepAwake.isHostingKeepingAwake());
}

