// Without any system bus: a program of its own, since libdbus reads the
// bus address once per process.
#include "platform/mdns/TarnAvahiAdvertiser.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(TarnAvahiAdvertiserNoBusTest, ReportsWhyItCannotPublish) {
  QTemporaryDir folder;
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + QFile::encodeName(folder.filePath(QStringLiteral("no-bus"))));
  TarnAvahiAdvertiser advertiser;
  QSignalSpy failed(&advertiser, &TarnServiceAdvertiser::advertisingFailed);
  TarnServiceAdvertisement advertisement;
  advertisement.name = QStringLiteral("Nowhere");
  advertisement.port = 52520;
  advertiser.publish(advertisement);
  ASSERT_TRUE(failed.wait(10000));
  EXPECT_TRUE(failed.value(0).value(0).toString().startsWith(QStringLiteral("Cannot reach avahi-daemon")))
      << failed.value(0).value(0).toString().toStdString();
}

} // namespace
