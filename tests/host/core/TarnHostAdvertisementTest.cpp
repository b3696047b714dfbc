// The host on the network for real: avahi-daemon runs in namespaces of its own with only
// loopback, and what the host publishes is read back with avahi-browse.
#include "platform/mdns/TarnAvahiAdvertiser.h"
#include "tests/support/lineclient/TarnTestHost.h"
#include "tests/support/services/TarnIsolatedAvahi.h"
#include "tests/support/services/TarnSystemBusEnvironment.h"

#include <gtest/gtest.h>

namespace {

constexpr std::chrono::seconds limit(15);

TEST(TarnHostAdvertisement, PublishesTheHostWithItsTxtRecordUntilItStops) {
  TarnIsolatedAvahi avahi(TarnSystemBusEnvironment::bus(), TarnIsolatedAvahi::Start::now);
  TarnTestHost::Options options;
  options.makeAdvertiser = [] { return std::make_unique<TarnAvahiAdvertiser>(); };
  TarnTestHost host(options);
  const quint16 port = host.start();
  ASSERT_TRUE(waitUntil([&] { return host.owner().advertisingStates.back(); }, limit));
  EXPECT_TRUE(host.owner().hasEvent(QStringLiteral("Host available")));

  const auto found = avahi.waitForService(QStringLiteral("Test Host"), limit);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->port, port);
  const std::map<QString, QString> expected = {
      {QStringLiteral("hostID"), QString::fromStdString(host.service().hostDeviceID().uuidString())},
      {QStringLiteral("hostName"), QStringLiteral("Test Host")},
      {QStringLiteral("displayName"), QStringLiteral("Test Display")},
      {QStringLiteral("hostModel"), host.service().identity().hostModel},
      {QStringLiteral("version"), QStringLiteral("1")},
  };
  EXPECT_EQ(found->txt, expected);

  host.service().stop();
  EXPECT_FALSE(host.owner().advertisingStates.back());
  EXPECT_TRUE(avahi.waitForServiceGone(QStringLiteral("Test Host"), limit));
}

TEST(TarnHostAdvertisement, ServesAndSaysWhyWhenNoDaemonAnswers) {
  TarnIsolatedAvahi avahi(TarnSystemBusEnvironment::bus(), TarnIsolatedAvahi::Start::later);
  TarnTestHost::Options options;
  options.makeAdvertiser = [] { return std::make_unique<TarnAvahiAdvertiser>(); };
  TarnTestHost host(options);
  host.start();
  ASSERT_TRUE(waitUntil([&] { return host.owner().hasEvent(QStringLiteral("Host not advertised")); }, limit));
  EXPECT_FALSE(host.owner().advertisingStates.back());
  EXPECT_TRUE(host.connectClient());
}

}  // namespace
