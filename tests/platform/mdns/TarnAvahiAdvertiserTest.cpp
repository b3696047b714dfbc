// Publishing for real: avahi-daemon runs in a namespace of its own with
// only loopback, and the published records are read back with avahi-browse.
#include "platform/mdns/TarnAvahiAdvertiser.h"
#include "tests/support/services/TarnIsolatedAvahi.h"
#include "tests/support/services/TarnSystemBusEnvironment.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int signalWaitMilliseconds = 15000;
constexpr std::chrono::seconds browseLimit(15);

TarnServiceAdvertisement hostAdvertisement(const QString& name, quint16 port = 52520) {
  TarnServiceAdvertisement advertisement;
  advertisement.name = name;
  advertisement.port = port;
  advertisement.txt = {{QStringLiteral("hostID"), QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301")},
                       {QStringLiteral("hostName"), QStringLiteral("build-box")},
                       {QStringLiteral("displayName"), QStringLiteral("Build Box Display")},
                       {QStringLiteral("hostModel"), QStringLiteral("Linux Desktop")},
                       {QStringLiteral("version"), QStringLiteral("1")}};
  return advertisement;
}

std::map<QString, QString> txtMap(const TarnServiceAdvertisement& advertisement) {
  std::map<QString, QString> entries;
  for (const TarnTxtEntry& entry : advertisement.txt)
    entries[entry.key] = entry.value;
  return entries;
}

class TarnAvahiAdvertiserTest : public testing::Test {
protected:
  void startAvahi(TarnIsolatedAvahi::Start start = TarnIsolatedAvahi::Start::now) {
    avahi_ = std::make_unique<TarnIsolatedAvahi>(TarnSystemBusEnvironment::bus(), start);
  }

  // Publishes and waits until the daemon confirms.
  void publishAndWait(TarnAvahiAdvertiser& advertiser, const TarnServiceAdvertisement& advertisement) {
    QSignalSpy advertised(&advertiser, &TarnServiceAdvertiser::advertised);
    QSignalSpy failed(&advertiser, &TarnServiceAdvertiser::advertisingFailed);
    advertiser.publish(advertisement);
    ASSERT_TRUE(advertised.wait(signalWaitMilliseconds)) << failed.value(0).value(0).toString().toStdString();
  }

  std::unique_ptr<TarnIsolatedAvahi> avahi_;
};

TEST_F(TarnAvahiAdvertiserTest, PublishesTheServiceWithItsTxtRecordAndWithdrawsIt) {
  startAvahi();
  TarnAvahiAdvertiser advertiser;
  const TarnServiceAdvertisement advertisement = hostAdvertisement(QStringLiteral("Build Box"));
  publishAndWait(advertiser, advertisement);

  const std::optional<TarnBrowsedService> found = avahi_->waitForService(QStringLiteral("Build Box"), browseLimit);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->port, 52520);
  EXPECT_EQ(found->txt, txtMap(advertisement));

  advertiser.withdraw();
  EXPECT_TRUE(avahi_->waitForServiceGone(QStringLiteral("Build Box"), browseLimit));
}

TEST_F(TarnAvahiAdvertiserTest, PublishingAgainReplacesTheService) {
  startAvahi();
  TarnAvahiAdvertiser advertiser;
  publishAndWait(advertiser, hostAdvertisement(QStringLiteral("First Name"), 52520));
  publishAndWait(advertiser, hostAdvertisement(QStringLiteral("Second Name"), 40001));

  const std::optional<TarnBrowsedService> found = avahi_->waitForService(QStringLiteral("Second Name"), browseLimit);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->port, 40001);
  EXPECT_TRUE(avahi_->waitForServiceGone(QStringLiteral("First Name"), browseLimit));
}

TEST_F(TarnAvahiAdvertiserTest, TakenNameIsReplacedByAnAlternative) {
  startAvahi();
  TarnAvahiAdvertiser first;
  TarnAvahiAdvertiser second;
  publishAndWait(first, hostAdvertisement(QStringLiteral("Shared Name"), 52520));
  publishAndWait(second, hostAdvertisement(QStringLiteral("Shared Name"), 52521));

  EXPECT_EQ(first.publishedName(), QStringLiteral("Shared Name"));
  EXPECT_EQ(second.publishedName(), QStringLiteral("Shared Name #2"));
  const std::optional<TarnBrowsedService> renamed = avahi_->waitForService(QStringLiteral("Shared Name #2"), browseLimit);
  ASSERT_TRUE(renamed);
  EXPECT_EQ(renamed->port, 52521);
}

TEST_F(TarnAvahiAdvertiserTest, NameLongerThanOneLabelIsCutAtACharacterBoundary) {
  startAvahi();
  TarnAvahiAdvertiser advertiser;
  // 40 two-byte characters: 80 bytes, more than the 63 a label holds.
  publishAndWait(advertiser, hostAdvertisement(QString(40, QChar(0x00E9))));
  EXPECT_EQ(advertiser.publishedName(), QString(31, QChar(0x00E9)));
  EXPECT_TRUE(avahi_->waitForService(QString(31, QChar(0x00E9)), browseLimit));
}

TEST_F(TarnAvahiAdvertiserTest, ReportsWhyWithoutADaemonAndPublishesOnceOneStarts) {
  startAvahi(TarnIsolatedAvahi::Start::later);
  TarnAvahiAdvertiser advertiser;
  QSignalSpy failed(&advertiser, &TarnServiceAdvertiser::advertisingFailed);
  QSignalSpy advertised(&advertiser, &TarnServiceAdvertiser::advertised);
  advertiser.publish(hostAdvertisement(QStringLiteral("Late Daemon")));
  ASSERT_TRUE(failed.wait(signalWaitMilliseconds));
  EXPECT_EQ(failed.value(0).value(0).toString(),
            QStringLiteral("avahi-daemon is not running; the service is published as soon as it starts."));

  avahi_->startDaemon();
  ASSERT_TRUE(advertised.wait(signalWaitMilliseconds));
  EXPECT_TRUE(avahi_->waitForService(QStringLiteral("Late Daemon"), browseLimit));
}

TEST_F(TarnAvahiAdvertiserTest, PublishesAgainAfterTheDaemonRestarts) {
  startAvahi();
  TarnAvahiAdvertiser advertiser;
  publishAndWait(advertiser, hostAdvertisement(QStringLiteral("Survivor")));
  QSignalSpy failed(&advertiser, &TarnServiceAdvertiser::advertisingFailed);
  QSignalSpy advertised(&advertiser, &TarnServiceAdvertiser::advertised);

  avahi_->stopDaemon();
  ASSERT_TRUE(failed.wait(signalWaitMilliseconds));
  avahi_->startDaemon();
  ASSERT_TRUE(advertised.wait(signalWaitMilliseconds));
  EXPECT_TRUE(avahi_->waitForService(QStringLiteral("Survivor"), browseLimit));
}

} // namespace
