#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>


namespace {

// A unit that records what the service hands it and answers every command it owns.
class RecordingUnit : public TarnHostUnit {
public:
  struct Log {
    std::vector<std::string> commands;
    std::vector<TarnUUID> paired;
    std::vector<TarnUUID> departed;
    int started = 0;
    int stopped = 0;
    int sessionsEnded = 0;
  };

  RecordingUnit(TarnHostContext& context, std::vector<std::string> names, Log& log)
      : context_(context), names_(std::move(names)), log_(log) {}

  std::vector<std::string> commandNames() const override { return names_; }
  void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) override {
    log_.commands.push_back(command.name);
    context_.send(TarnWireEnvelope::error("handled " + command.name), clientID);
  }
  void clientPaired(const TarnUUID& id) override { log_.paired.push_back(id); }
  void clientDeparted(const TarnUUID& id) override { log_.departed.push_back(id); }
  void serviceStarted() override { ++log_.started; }
  void serviceStopped() override { ++log_.stopped; }
  void sessionEnded() override { ++log_.sessionsEnded; }

private:
  TarnHostContext& context_;
  std::vector<std::string> names_;
  Log& log_;
};

class TarnHostDispatch : public testing::Test {
protected:
  void SetUp() override {
    host.service().addUnit(std::make_unique<RecordingUnit>(host.service(), std::vector<std::string>{"listFiles"}, files));
    host.service().addUnit(
        std::make_unique<RecordingUnit>(host.service(), std::vector<std::string>{"selectDisplay", "listFiles"}, frames));
    host.start();
  }

  TarnTestHost host;
  RecordingUnit::Log files;
  RecordingUnit::Log frames;
};

TEST_F(TarnHostDispatch, HandsEachCommandToTheUnitThatOwnsItsName) {
  auto client = host.pairedClient();
  ASSERT_TRUE(client);
  client->sendCommand("listFiles", "/");
  client->sendCommand("selectDisplay", "1");
  client->sendCommand("SelectDisplay", "1");
  client->sendCommand("remoteInput", "{}");

  const auto first = client->nextOfKind(TarnWireKind::error);
  const auto second = client->nextOfKind(TarnWireKind::error);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->errorMessage, "handled listFiles");
  EXPECT_EQ(second->errorMessage, "handled selectDisplay");
  ASSERT_TRUE(waitUntil([&] { return host.owner().commands.size() == 2; }));
  EXPECT_EQ(files.commands, std::vector<std::string>{"listFiles"});
  EXPECT_EQ(frames.commands, std::vector<std::string>{"selectDisplay"});
  // Names no unit claims, compared exactly, go to the owner with the sender's device.
  EXPECT_EQ(host.owner().commands[0].command.name, "SelectDisplay");
  EXPECT_EQ(host.owner().commands[1].command.name, "remoteInput");
  ASSERT_TRUE(host.owner().commands[1].device);
  EXPECT_EQ(host.owner().commands[1].device->name, "Test Phone");
}

TEST_F(TarnHostDispatch, TellsUnitsWhenClientsComeAndGoAndWhenTheServiceStops) {
  EXPECT_EQ(files.started, 1);
  auto client = host.pairedClient();
  ASSERT_TRUE(client);
  const std::vector<TarnUUID> paired = host.service().clientIDs(TarnClientAudience::allPaired);
  EXPECT_EQ(files.paired, paired);

  client->disconnectNow();
  ASSERT_TRUE(waitUntil([&] { return files.departed.size() == 1; }));
  EXPECT_EQ(files.departed, paired);
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());

  auto second = host.pairedClient();
  ASSERT_TRUE(second);
  host.service().endSession();
  EXPECT_EQ(files.sessionsEnded, 1);
  EXPECT_EQ(files.departed.size(), 2u);

  const int stoppedBefore = files.stopped;
  host.service().stop();
  EXPECT_EQ(files.stopped, stoppedBefore + 1);
  EXPECT_EQ(frames.stopped, stoppedBefore + 1);
}

}  // namespace
