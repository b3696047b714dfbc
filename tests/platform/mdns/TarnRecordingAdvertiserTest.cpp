#include "platform/mdns/TarnRecordingAdvertiser.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TarnServiceAdvertisement named(const char* name) {
  TarnServiceAdvertisement advertisement;
  advertisement.name = QString::fromUtf8(name);
  advertisement.port = 52520;
  return advertisement;
}

TEST(TarnRecordingAdvertiserTest, ConfirmsOnlyWhatIsStillPublishedWhenTheAnswerArrives) {
  TarnRecordingAdvertiser advertiser;
  QSignalSpy advertised(&advertiser, &TarnServiceAdvertiser::advertised);

  advertiser.publish(named("withdrawn at once"));
  advertiser.withdraw();
  advertiser.publish(named("replaced"));
  advertiser.publish(named("kept"));
  EXPECT_EQ(advertised.count(), 0); // never re-entrant
  QCoreApplication::processEvents();

  EXPECT_EQ(advertised.count(), 1);
  EXPECT_EQ(advertiser.current(), named("kept"));
  EXPECT_EQ(advertiser.published().size(), 3u);
  EXPECT_EQ(advertiser.withdrawCount(), 1);
}

} // namespace
