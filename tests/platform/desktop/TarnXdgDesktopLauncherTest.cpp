#include "platform/desktop/TarnXdgDesktopLauncher.h"
#include "tests/support/lineclient/TarnTestHost.h"
#include "tests/support/services/TarnPrivateBus.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Tests never start real applications: the opener is a script that logs its arguments,
// and the file manager is a stand-in on a private bus.
class TarnXdgDesktopLauncherTest : public ::testing::Test {
protected:
  // Before any fixture starts its bus daemon's process.
  static void SetUpTestSuite() { ensureTestApplication(); }

  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_FALSE(bus_.address().isEmpty());
    openerPath_ = folder_.filePath(QStringLiteral("record-open"));
    QFile script(openerPath_);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/opened.log\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  void TearDown() override {
    QDBusConnection::disconnectFromBus(launcherConnection);
    if (fileManager_.state() != QProcess::NotRunning) {
      fileManager_.terminate();
      fileManager_.waitForFinished(5000);
    }
  }

  void startFileManager() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(bus_.address()));
    fileManager_.setProcessEnvironment(environment);
    fileManager_.start(QStringLiteral(TARN_FAKE_FILE_MANAGER), {logPath(QStringLiteral("revealed.log"))});
    ASSERT_TRUE(fileManager_.waitForReadyRead(10'000));
    ASSERT_EQ(fileManager_.readLine().trimmed(), QByteArray("READY"));
  }

  QDBusConnection launcherBus() const {
    return QDBusConnection::connectToBus(QString::fromUtf8(bus_.address()), launcherConnection);
  }

  QString logPath(const QString& name) const { return folder_.filePath(name); }

  QString readLog(const QString& name) const {
    QFile log(logPath(name));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
  }

  QString waitForLog(const QString& name) const {
    waitUntil([&] { return readLog(name).endsWith(QLatin1Char('\n')); });
    return readLog(name);
  }

  static inline const QString launcherConnection = QStringLiteral("launcher");
  QTemporaryDir folder_;
  TarnPrivateBus bus_{TarnPrivateBus::Kind::session, folder_.path()};
  QString openerPath_;
  QProcess fileManager_;
};

TEST_F(TarnXdgDesktopLauncherTest, OpenHandsThePathToTheOpener) {
  TarnXdgDesktopLauncher launcher(launcherBus(), openerPath_);
  EXPECT_EQ(launcher.open(QStringLiteral("/home/user/My File.txt")), TarnDesktopRequestResult::requested);
  EXPECT_EQ(waitForLog(QStringLiteral("opened.log")), QStringLiteral("/home/user/My File.txt\n"));
}

TEST_F(TarnXdgDesktopLauncherTest, OpenReportsAnOpenerThatCannotStart) {
  TarnXdgDesktopLauncher launcher(launcherBus(), logPath(QStringLiteral("missing-opener")));
  EXPECT_EQ(launcher.open(QStringLiteral("/home/user/a.txt")), TarnDesktopRequestResult::couldNotStart);
}

TEST_F(TarnXdgDesktopLauncherTest, RevealAsksTheFileManagerToSelectTheItem) {
  startFileManager();
  TarnXdgDesktopLauncher launcher(launcherBus(), openerPath_);
  EXPECT_EQ(launcher.reveal(QStringLiteral("/home/user/Notes 100%.txt")), TarnDesktopRequestResult::requested);
  EXPECT_EQ(waitForLog(QStringLiteral("revealed.log")),
            QStringLiteral("ShowItems file:///home/user/Notes%20100%25.txt\n"));
  EXPECT_EQ(readLog(QStringLiteral("opened.log")), QString());
}

TEST_F(TarnXdgDesktopLauncherTest, RevealWithoutAFileManagerOpensTheParentFolder) {
  TarnXdgDesktopLauncher launcher(launcherBus(), openerPath_);
  EXPECT_EQ(launcher.reveal(QStringLiteral("/home/user/docs/a.txt")), TarnDesktopRequestResult::requested);
  EXPECT_EQ(waitForLog(QStringLiteral("opened.log")), QStringLiteral("/home/user/docs\n"));
}

TEST_F(TarnXdgDesktopLauncherTest, RevealWithoutASessionBusOpensTheParentFolder) {
  TarnXdgDesktopLauncher launcher(QDBusConnection(QStringLiteral("never-connected")), openerPath_);
  EXPECT_EQ(launcher.reveal(QStringLiteral("/home/user/docs/a.txt")), TarnDesktopRequestResult::requested);
  EXPECT_EQ(waitForLog(QStringLiteral("opened.log")), QStringLiteral("/home/user/docs\n"));
}

} // namespace
