#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>


namespace {

// An advertiser that still reports while it is taken down, as a daemon's late answer would.
class LateReportingAdvertiser : public TarnServiceAdvertiser {
public:
  ~LateReportingAdvertiser() override { Q_EMIT advertisingFailed(QStringLiteral("torn down")); }
  void publish(const TarnServiceAdvertisement&) override {
    QMetaObject::invokeMethod(this, [this] { Q_EMIT advertised(); }, Qt::QueuedConnection);
  }
  void withdraw() override { Q_EMIT advertisingFailed(QStringLiteral("withdrawn")); }
};

TEST(TarnHostLifecycle, AdvertisesTheServiceWithItsTxtRecord) {
  TarnTestHost host;
  const quint16 port = host.start();
  ASSERT_TRUE(host.currentAdvertiser());
  const auto& advertisement = host.currentAdvertiser()->current();
  ASSERT_TRUE(advertisement);
  EXPECT_EQ(advertisement->name, QStringLiteral("Test Host"));
  EXPECT_EQ(advertisement->type, QStringLiteral("_tarnhold._tcp"));
  EXPECT_EQ(advertisement->port, port);
  const QString hostID = QString::fromStdString(host.service().hostDeviceID().uuidString());
  const QString model = host.service().identity().hostModel;
  EXPECT_EQ(advertisement->txt, (std::vector<TarnTxtEntry>{{QStringLiteral("hostID"), hostID},
                                                           {QStringLiteral("hostName"), QStringLiteral("Test Host")},
                                                           {QStringLiteral("displayName"), QStringLiteral("Test Display")},
                                                           {QStringLiteral("hostModel"), model},
                                                           {QStringLiteral("version"), QStringLiteral("1")}}));
  EXPECT_EQ(host.owner().advertisingStates, (std::vector<bool>{false, true}));
  const auto* available = host.owner().lastEvent(QStringLiteral("Host available"));
  ASSERT_TRUE(available);
  EXPECT_EQ(available->detail, QStringLiteral("Tarnhold Host is advertising _tarnhold._tcp."));
  EXPECT_EQ(available->symbol, QStringLiteral("antenna.radiowaves.left.and.right"));
}

TEST(TarnHostLifecycle, ServesWithoutAdvertisementAndSaysWhy) {
  TarnTestHost::Options options;
  options.advertiserReply = TarnRecordingAdvertiser::Reply::stayQuiet;
  TarnTestHost host(options);
  host.start();
  host.currentAdvertiser()->reportFailure(QStringLiteral("No mDNS daemon is running."));
  EXPECT_EQ(host.owner().advertisingStates, (std::vector<bool>{false, false}));
  const auto* notAdvertised = host.owner().lastEvent(QStringLiteral("Host not advertised"));
  ASSERT_TRUE(notAdvertised);
  EXPECT_TRUE(notAdvertised->detail.startsWith(QStringLiteral("No mDNS daemon is running.")));
  EXPECT_TRUE(host.connectClient());

  // An advertiser that recovers later brings the host on the network.
  host.currentAdvertiser()->reportAdvertised();
  EXPECT_EQ(host.owner().advertisingStates.back(), true);
  EXPECT_TRUE(host.owner().hasEvent(QStringLiteral("Host available")));
}

TEST(TarnHostLifecycle, RestartDropsEveryClientAndIgnoresTheOldListener) {
  TarnTestHost host;
  host.start();
  auto client = host.pairedClient();
  ASSERT_TRUE(client);
  QPointer<TarnRecordingAdvertiser> first = host.currentAdvertiser();

  host.start();
  EXPECT_TRUE(client->waitForDisconnected());
  EXPECT_EQ(host.owner().advertisingStates, (std::vector<bool>{false, true, false, true}));
  // The replaced listener's advertiser is gone with it, withdrawn.
  EXPECT_TRUE(first.isNull());
  EXPECT_NE(host.currentAdvertiser(), nullptr);
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
  EXPECT_TRUE(host.connectClient());
}

TEST(TarnHostLifecycle, ReportsOfAReplacedListenerChangeNothing) {
  TarnTestHost::Options options;
  options.makeAdvertiser = [] { return std::make_unique<LateReportingAdvertiser>(); };
  TarnTestHost host(options);
  host.start();
  ASSERT_TRUE(waitUntil([&] { return host.owner().advertisingStates.back(); }));
  host.start();
  ASSERT_TRUE(waitUntil([&] { return host.owner().advertisingStates.size() == 4 && host.owner().advertisingStates.back(); }));
  EXPECT_EQ(host.owner().advertisingStates, (std::vector<bool>{false, true, false, true}));
  EXPECT_FALSE(host.owner().hasEvent(QStringLiteral("Host not advertised")));
}

TEST(TarnHostLifecycle, StopClosesEverythingAndWithdrawsWaitingRequests) {
  TarnTestHost host;
  host.start();
  auto paired = host.pairedClient();
  ASSERT_TRUE(paired);
  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  auto waiting = host.connectClient();
  ASSERT_TRUE(waiting);
  waiting->sendPairRequest(makePairRequest("123456"));
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 2; }));
  const int keepAwakeStopsBefore = host.owner().keepAwakeStops;

  host.service().stop();
  EXPECT_EQ(host.service().listeningPort(), 0);
  EXPECT_EQ(host.owner().advertisingStates.back(), false);
  EXPECT_EQ(host.owner().removedApprovals.back(), host.owner().approvalRequests[1].id);
  EXPECT_EQ(host.owner().keepAwakeStops, keepAwakeStopsBefore + 1);
  EXPECT_TRUE(paired->waitForDisconnected());
  EXPECT_TRUE(waiting->waitForDisconnected());
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
}

TEST(TarnHostLifecycle, EndSessionTellsEveryClientBeforeClosingAndKeepsListening) {
  TarnTestHost host;
  host.start();
  auto paired = host.pairedClient();
  auto unpaired = host.connectClient();
  ASSERT_TRUE(paired && unpaired);
  const std::size_t statesBefore = host.owner().advertisingStates.size();

  host.service().endSession();
  // The line written just before the close must still arrive.
  for (TarnLineClient* client : {paired.get(), unpaired.get()}) {
    const auto ended = client->nextOfKind(TarnWireKind::sessionEnded);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(client->waitForDisconnected());
  }
  EXPECT_EQ(host.owner().advertisingStates.size(), statesBefore);
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
  EXPECT_TRUE(host.connectClient());
}

}  // namespace
