#include "host/input/TarnDesktopSystemActions.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "platform/input/TarnRecordingInputInjector.h"
#include "tests/support/login1/TarnFakeLogin1.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TarnDesktopSystemActions, SessionAndPowerGoToLogindForThisSession) {
  TarnFakeLogin1 login1;
  ASSERT_TRUE(login1.isReady());
  TarnLogindClient logind(login1.connection(), QStringLiteral("c4"));
  TarnRecordingInputInjector injector;
  TarnDesktopSystemActions actions(injector, nullptr, logind);
  EXPECT_TRUE(actions.lockScreen());
  EXPECT_TRUE(actions.logOut());
  EXPECT_TRUE(actions.suspend());
  EXPECT_TRUE(actions.reboot());
  EXPECT_TRUE(actions.powerOff());
  EXPECT_EQ(login1.calls(), (std::vector<std::string>{"LockSession session=c4", "TerminateSession session=c4",
                                                      "Suspend interactive=0", "Reboot interactive=0",
                                                      "PowerOff interactive=0"}));
}

TEST(TarnDesktopSystemActions, OverviewTapsSuperAndNeedsInput) {
  TarnFakeLogin1 login1;
  TarnLogindClient logind(login1.connection(), QString());
  TarnRecordingInputInjector injector;
  TarnDesktopSystemActions actions(injector, nullptr, logind);
  EXPECT_TRUE(actions.showDesktopOverview());
  EXPECT_EQ(injector.calls, std::vector<std::string>{"key 0xffeb"});
  injector.available = false;
  EXPECT_FALSE(actions.showDesktopOverview());
}

TEST(TarnDesktopSystemActions, TerminalAndDisplaySleepSayWhetherTheyStarted) {
  TarnFakeLogin1 login1;
  TarnLogindClient logind(login1.connection(), QString());
  TarnRecordingInputInjector injector;
  QTemporaryDir folder;
  const QString marker = folder.filePath(QStringLiteral("opened"));
  TarnDesktopSystemActions opening(injector, nullptr, logind,
                                   {QStringLiteral("touch"), marker});
  EXPECT_TRUE(opening.openTerminal());
  TarnDesktopSystemActions missing(injector, nullptr, logind, {folder.filePath(QStringLiteral("no-such-terminal"))});
  EXPECT_FALSE(missing.openTerminal());

  EXPECT_FALSE(opening.sleepDisplay());  // no X display
  TarnXvfbServer server;
  ASSERT_TRUE(server.isRunning());
  TarnXDisplay display(server.display());
  EXPECT_TRUE(TarnDesktopSystemActions(injector, display.get(), logind).sleepDisplay());
}
