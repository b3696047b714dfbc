#include "platform/displayserver/TarnXDisplay.h"
#include "platform/displayserver/TarnXRandrMonitorLayout.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

TEST(TarnXRandrMonitorLayout, ListsTheVirtualMonitorsWithTheirPrimary) {
  TarnXvfbServer server("2720x1080x24");
  ASSERT_TRUE(server.isRunning());
  ASSERT_TRUE(server.makeTwoMonitors());
  TarnXDisplay display(server.display());
  ASSERT_TRUE(display.isOpen());

  std::vector<TarnMonitor> monitors = TarnXRandrMonitorLayout(display.get()).monitors();
  ASSERT_EQ(monitors.size(), 2u);
  EXPECT_EQ((TarnMonitor{monitors[0].id, 0, 0, 1920, 1080, true}), monitors[0]);
  EXPECT_EQ((TarnMonitor{monitors[1].id, 1920, 0, 800, 600, false}), monitors[1]);
  EXPECT_NE(monitors[0].id, monitors[1].id);
  // The ids are stable between calls: clients select displays by them.
  EXPECT_EQ(TarnXRandrMonitorLayout(display.get()).monitors(), monitors);
}

TEST(TarnXRandrMonitorLayout, AServerWithoutExtraMonitorsHasOneCoveringTheScreen) {
  TarnXvfbServer server("1280x720x24");
  ASSERT_TRUE(server.isRunning());
  TarnXDisplay display(server.display());
  std::vector<TarnMonitor> monitors = TarnXRandrMonitorLayout(display.get()).monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(monitors[0].width, 1280);
  EXPECT_EQ(monitors[0].height, 720);
}
