#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>

#include <algorithm>

namespace {

QByteArray lineOf(const TarnWireEnvelope& envelope) { return QByteArray::fromStdString(TarnWireCodec::encode(envelope)); }

QByteArray commandLine(const std::string& name) {
  TarnWireCommand command;
  command.id = TarnUUID::random();
  command.name = name;
  command.createdAt = TarnDate::now().wholeSeconds();
  return lineOf(TarnWireEnvelope::carrying(command));
}

// The names of the commands that reached the owner, in order.
std::vector<std::string> commandNames(const TarnTestOwner& owner) {
  std::vector<std::string> names;
  for (const auto& received : owner.commands) names.push_back(received.command.name);
  return names;
}

TEST(TarnHostConnection, GreetsEveryNewConnectionWithOneHello) {
  TarnTestHost host;
  host.start();
  TarnLineClient client;
  ASSERT_TRUE(client.connectTo(host.service().listeningPort()));
  const auto hello = client.next();
  ASSERT_TRUE(hello);
  ASSERT_EQ(hello->kind, TarnWireKind::hello);
  ASSERT_TRUE(hello->hello);
  EXPECT_EQ(hello->hello->protocolVersion, 1);
  EXPECT_EQ(hello->hello->hostID, host.service().hostDeviceID());
  EXPECT_EQ(hello->hello->hostName, "Test Host");
  EXPECT_EQ(hello->hello->displayName, "Test Display");
  ASSERT_TRUE(hello->hello->hostModel);
  EXPECT_TRUE(*hello->hello->hostModel == "MacBook" || *hello->hello->hostModel == "Mac Desktop");
  // A new connection is no event of its own.
  EXPECT_EQ(host.owner().eventTitles(), std::vector<QString>{QStringLiteral("Host available")});
}

// Bytes a paired client sends, and the commands the owner must see from them, in order.
struct FramingCase {
  const char* name;
  std::vector<QByteArray> chunks;
  std::vector<std::string> expectedCommands;
};

class TarnHostFraming : public testing::TestWithParam<FramingCase> {};

TEST_P(TarnHostFraming, CutsLinesAndSkipsWhatDoesNotDecode) {
  TarnTestHost host;
  host.start();
  auto client = host.pairedClient();
  ASSERT_TRUE(client);
  for (const QByteArray& chunk : GetParam().chunks) {
    client->sendRaw(chunk);
    QCoreApplication::processEvents();
  }
  // A closing marker proves every earlier byte was handled.
  client->sendRaw(commandLine("marker"));
  ASSERT_TRUE(waitUntil([&] { return !commandNames(host.owner()).empty() &&
                                           commandNames(host.owner()).back() == "marker"; }));
  auto names = commandNames(host.owner());
  names.pop_back();
  EXPECT_EQ(names, GetParam().expectedCommands);
  EXPECT_TRUE(client->isConnected());
}

QByteArray withoutLineEnd(QByteArray line) {
  line.chop(1);
  return line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TarnHostFraming,
    testing::Values(
        FramingCase{"garbage", {QByteArray("not json\n{\"kind\":\"ping\"}\n\n   \n"), commandLine("a")}, {"a"}},
        FramingCase{"crlf", {withoutLineEnd(commandLine("a")) + "\r\n"}, {"a"}},
        FramingCase{"split", {commandLine("a").left(10), commandLine("a").mid(10)}, {"a"}},
        FramingCase{"joined", {commandLine("a") + commandLine("b") + commandLine("c")}, {"a", "b", "c"}},
        FramingCase{"two objects on one line", {withoutLineEnd(commandLine("a")) + commandLine("b"), commandLine("c")},
                    {"c"}}),
    [](const testing::TestParamInfo<FramingCase>& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

// Undecoded bytes a paired connection may keep, and one more.
TEST(TarnHostConnection, KeepsAPairedTailOfExactlyTheLimitAndClosesOneByteBeyond) {
  TarnTestHost host;
  host.start();
  const QByteArray atLimit(static_cast<qsizetype>(TarnWireCodec::maxBufferedLineBytes), 'x');

  auto kept = host.pairedClient();
  ASSERT_TRUE(kept);
  kept->sendRaw(atLimit);
  kept->sendRaw("\n" + commandLine("after"));
  ASSERT_TRUE(waitUntil([&] { return commandNames(host.owner()) == std::vector<std::string>{"after"}; }, std::chrono::seconds(60)));
  EXPECT_TRUE(kept->isConnected());

  auto closed = host.pairedClient();
  ASSERT_TRUE(closed);
  closed->sendRaw(commandLine("before") + atLimit + "x");
  EXPECT_TRUE(closed->waitForDisconnected(std::chrono::seconds(60)));
  // The line that completed in the overflowing stream was still handled.
  EXPECT_EQ(commandNames(host.owner()), (std::vector<std::string>{"after", "before"}));
}

TEST(TarnHostConnection, UnpairedConnectionsGetASmallLineLimit) {
  TarnTestHost host;
  host.start();
  auto unpaired = host.connectClient();
  ASSERT_TRUE(unpaired);
  unpaired->sendRaw(QByteArray(65'537, 'x'));
  EXPECT_TRUE(unpaired->waitForDisconnected());

  auto paired = host.pairedClient();
  ASSERT_TRUE(paired);
  paired->sendRaw(QByteArray(200'000, 'x') + "\n" + commandLine("after"));
  ASSERT_TRUE(waitUntil([&] { return commandNames(host.owner()) == std::vector<std::string>{"after"}; }));
  EXPECT_TRUE(paired->isConnected());
}

TEST(TarnHostConnection, ClosesAnIdleUnpairedConnectionButNotOneAwaitingApproval) {
  TarnTestHost::Options options;
  options.limits.unpairedIdleTimeout = std::chrono::seconds(1);
  TarnTestHost host(options);
  host.start();
  auto paired = host.pairedClient();
  ASSERT_TRUE(paired);

  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  auto waiting = host.connectClient();
  ASSERT_TRUE(waiting);
  waiting->sendPairRequest(makePairRequest("123456"));
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 2; }));
  // Its idle time runs out after the waiting one's.
  auto idle = host.connectClient();
  ASSERT_TRUE(idle);

  EXPECT_TRUE(idle->waitForDisconnected());
  EXPECT_TRUE(waiting->isConnected());
  EXPECT_TRUE(paired->isConnected());
  const TarnUUID waitingID = host.owner().approvalRequests.back().id;
  EXPECT_EQ(std::count(host.owner().removedApprovals.begin(), host.owner().removedApprovals.end(), waitingID), 0);
}

TEST(TarnHostConnection, RefusesConnectionsBeyondTheUnpairedCap) {
  TarnTestHost::Options options;
  options.limits.maxUnpairedConnections = 2;
  TarnTestHost host(options);
  host.start();
  auto first = host.connectClient();
  auto second = host.connectClient();
  ASSERT_TRUE(first && second);

  TarnLineClient refused;
  ASSERT_TRUE(refused.connectTo(host.service().listeningPort()));
  EXPECT_TRUE(refused.waitForDisconnected());
  EXPECT_TRUE(refused.received().empty());

  // A paired connection no longer counts against the cap.
  first->sendPairRequest(makePairRequest("123456"));
  ASSERT_TRUE(first->nextOfKind(TarnWireKind::pairResult));
  EXPECT_TRUE(host.connectClient());
}

TEST(TarnHostConnection, DropsAPeerThatStopsReading) {
  TarnTestHost::Options options;
  options.limits.maxUnsentBytes = 1'048'576;
  TarnTestHost host(options);
  host.start();
  auto reader = host.pairedClient();
  auto stalled = host.pairedClient();
  ASSERT_TRUE(reader && stalled);
  // Qt stops taking bytes from the kernel once this little waits unread.
  stalled->socket().setReadBufferSize(1);
  stalled->socket().disconnect();

  const TarnWireEnvelope large = TarnWireEnvelope::error(std::string(256 * 1024, 'x'));
  ASSERT_TRUE(waitUntil([&] {
    host.service().sendToPairedDevices(large);
    return host.service().clientIDs(TarnClientAudience::allPaired).size() == 1;
  }, std::chrono::seconds(30)));
  EXPECT_TRUE(reader->isConnected());
}

TEST(TarnHostConnection, HandlesTheLastLineOfAPeerThatFinishesSending) {
  TarnTestHost host;
  host.start();
  auto client = host.pairedClient();
  ASSERT_TRUE(client);
  client->sendRaw(commandLine("last"));
  client->finishSending();
  EXPECT_TRUE(client->waitForDisconnected());
  EXPECT_EQ(commandNames(host.owner()), std::vector<std::string>{"last"});
}

TEST(TarnHostConnection, RefusesEveryCommandBeforePairing) {
  TarnTestHost host;
  host.start();
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  client->sendCommand("listFiles", "/");
  client->sendCommand("remoteInput");
  for (int i = 0; i < 2; ++i) {
    const auto error = client->next();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, TarnWireKind::error);
    EXPECT_EQ(error->errorMessage, "Pair this device on the Mac before controlling it.");
  }
  EXPECT_TRUE(host.owner().commands.empty());
  EXPECT_TRUE(client->isConnected());
}

TEST(TarnHostConnection, TakesAHostTokenOnlyFromAPairedClient) {
  TarnTestHost host;
  host.start();
  auto stranger = host.connectClient();
  ASSERT_TRUE(stranger);
  stranger->send(TarnWireEnvelope::hostTokenGrant("stolen"));
  const auto refusal = stranger->next();
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->errorMessage, "Pair this device on the Mac before controlling it.");

  auto paired = host.pairedClient();
  ASSERT_TRUE(paired);
  paired->send(TarnWireEnvelope::hostTokenGrant(""));
  paired->send(TarnWireEnvelope::hostTokenGrant("granted"));
  ASSERT_TRUE(waitUntil([&] { return !host.owner().hostTokens.empty(); }));
  EXPECT_EQ(host.owner().hostTokens, std::vector<QString>{QStringLiteral("granted")});
}

TEST(TarnHostConnection, ActsOnSessionEndedFromAnyClientAndKeepsItConnected) {
  TarnTestHost host;
  host.start();
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const int keepAwakeStopsBefore = host.owner().keepAwakeStops;
  client->send(TarnWireEnvelope::sessionEnded());
  ASSERT_TRUE(waitUntil([&] { return host.owner().hasEvent(QStringLiteral("Remote session ended")); }));
  const auto* event = host.owner().lastEvent(QStringLiteral("Remote session ended"));
  EXPECT_EQ(event->detail, QStringLiteral("The iPhone ended the local peer session."));
  EXPECT_EQ(event->symbol, QStringLiteral("pause.circle"));
  EXPECT_EQ(host.owner().keepAwakeStops, keepAwakeStopsBefore + 1);
  EXPECT_TRUE(client->isConnected());
}

TEST(TarnHostConnection, FallsBackToAFreePortWhenThePreferredOneIsTaken) {
  ensureTestApplication();
  QTcpServer occupant;
  ASSERT_TRUE(occupant.listen(QHostAddress::LocalHost, 0));
  TarnTestHost::Options options;
  options.port = occupant.serverPort();
  TarnTestHost host(options);
  const quint16 port = host.start();
  EXPECT_NE(port, 0);
  EXPECT_NE(port, occupant.serverPort());
  EXPECT_TRUE(host.connectClient());
  ASSERT_TRUE(host.currentAdvertiser() && host.currentAdvertiser()->current());
  EXPECT_EQ(host.currentAdvertiser()->current()->port, port);
}

}  // namespace
