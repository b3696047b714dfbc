#include "platform/logind/TarnLogindClient.h"
#include "tests/support/login1/TarnFakeLogin1.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
struct Request {
  const char* name;
  std::function<bool(TarnLogindClient&)> run;
  const char* recorded;
};

const Request requests[] = {
    {"lock", &TarnLogindClient::lockSession, "LockSession session=c7"},
    {"log out", &TarnLogindClient::terminateSession, "TerminateSession session=c7"},
    {"suspend", &TarnLogindClient::suspend, "Suspend interactive=0"},
    {"reboot", &TarnLogindClient::reboot, "Reboot interactive=0"},
    {"power off", &TarnLogindClient::powerOff, "PowerOff interactive=0"},
};
}  // namespace

TEST(TarnLogindClient, SendsEachRequestForTheSession) {
  TarnFakeLogin1 login1;
  ASSERT_TRUE(login1.isReady());
  TarnLogindClient client(login1.connection(), QStringLiteral("c7"));
  for (const Request& request : requests) EXPECT_TRUE(request.run(client)) << request.name;
  std::vector<std::string> expected;
  for (const Request& request : requests) expected.push_back(request.recorded);
  EXPECT_EQ(login1.calls(), expected);
}

TEST(TarnLogindClient, ReportsRefusedAndUnreachableRequestsAsFailed) {
  TarnFakeLogin1 refusing(TarnFakeLogin1::Answer::refuse);
  ASSERT_TRUE(refusing.isReady());
  TarnLogindClient refused(refusing.connection(), QStringLiteral("c7"));
  TarnLogindClient unreachable(QDBusConnection(QStringLiteral("not-connected")), QString());
  for (TarnLogindClient* client : {&refused, &unreachable}) {
    for (const Request& request : requests) EXPECT_FALSE(request.run(*client)) << request.name;
    EXPECT_EQ(client->inhibit(TarnInhibitScope::sleepOnly, QStringLiteral("Tarnhold"), QStringLiteral("test")), nullptr);
  }
}

TEST(TarnLogindClient, TheInhibitorHoldsUntilItIsDropped) {
  TarnFakeLogin1 login1;
  ASSERT_TRUE(login1.isReady());
  TarnLogindClient client(login1.connection(), QString());
  auto inhibitor =
      client.inhibit(TarnInhibitScope::sleepAndIdle, QStringLiteral("Tarnhold"), QStringLiteral("Remote session"));
  ASSERT_NE(inhibitor, nullptr);
  EXPECT_TRUE(login1.waitForCall("Inhibit what=sleep:idle who=Tarnhold why=Remote session mode=block id=1"));
  // A later request is recorded after any release the stand-in had seen by then.
  ASSERT_TRUE(client.suspend());
  EXPECT_EQ(login1.calls().back(), "Suspend interactive=0");
  inhibitor.reset();
  EXPECT_TRUE(login1.waitForCall("RELEASED id=1"));
}
