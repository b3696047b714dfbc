#include "host/runner/TarnTerminalRunnerUnit.h"
#include "tests/host/runner/TarnRunnerTestFixture.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>

namespace {

// One-shot commands through a real host service and two paired clients on loopback.
class TarnRunnerCommandsOverTheWire : public TarnRunnerTestFixture {};

TEST_F(TarnRunnerCommandsOverTheWire, EachConnectionHasItsOwnFolder) {
  const std::string sub = makeFolder("sub");
  TarnTestHost host;
  host.service().addUnit(std::make_unique<TarnTerminalRunnerUnit>(host.service(), settings()));
  host.start();
  auto alice = host.pairedClient();
  auto bob = host.pairedClient();
  ASSERT_TRUE(alice && bob);

  const auto runOn = [](TarnLineClient& client, const std::string& command) {
    client.sendCommand("runTerminalCommand", request(command).encodedString());
    const auto reply = client.nextOfKind(TarnWireKind::terminalResponse, std::chrono::seconds(20));
    return reply ? reply->terminalResponse->output : std::string("(no reply)");
  };
  EXPECT_EQ(runOn(*alice, "cd sub"), "Done.");
  EXPECT_EQ(runOn(*alice, "pwd"), sub);
  EXPECT_EQ(runOn(*bob, "pwd"), home());

  alice->sendCommand("runTerminalCommand", "not json");
  const auto error = alice->nextOfKind(TarnWireKind::error);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->errorMessage, "The terminal command payload was invalid.");
}

} // namespace
