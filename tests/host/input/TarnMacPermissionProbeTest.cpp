#include "host/input/TarnMacPermissionProbe.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
std::vector<TarnPermissionState> states(const std::vector<TarnPermission>& rows) {
  std::vector<TarnPermissionState> result;
  for (const TarnPermission& row : rows) result.push_back(row.state);
  return result;
}
}  // namespace

TEST(TarnMacPermissionProbe, AnX11SessionGrantsCaptureAndInput) {
  TarnXvfbServer server;
  ASSERT_TRUE(server.isRunning());
  QTemporaryDir devices;
  QFile device(devices.filePath(QStringLiteral("event3")));
  ASSERT_TRUE(device.open(QIODevice::WriteOnly));
  std::vector<TarnPermission> rows = TarnMacPermissionProbe({server.display(), "", "x11"}, devices.path()).currentPermissions();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (TarnPermission{"screen", "Screen Recording", "Screen capture is approved.",
                                     "rectangle.dashed.badge.record", TarnPermissionState::ready}));
  EXPECT_EQ(rows[1], (TarnPermission{"accessibility", "Accessibility", "Remote input control is approved.",
                                     "cursorarrow.motionlines", TarnPermissionState::ready}));
  EXPECT_EQ(rows[2], (TarnPermission{"input", "Input Monitoring", "Keyboard relay is approved.", "keyboard",
                                     TarnPermissionState::ready}));
  EXPECT_EQ(rows[3], (TarnPermission{"network", "Local Network",
                                     "Validated automatically when the host starts advertising.", "network",
                                     TarnPermissionState::needsReview}));
}

TEST(TarnMacPermissionProbe, WithoutAnX11DisplayCaptureAndInputAreMissing) {
  QTemporaryDir noDevices;
  std::vector<TarnPermission> none =
      TarnMacPermissionProbe({":987", "", "x11"}, noDevices.path()).currentPermissions();
  EXPECT_EQ(states(none), (std::vector<TarnPermissionState>{TarnPermissionState::missing, TarnPermissionState::missing,
                                                            TarnPermissionState::missing,
                                                            TarnPermissionState::needsReview}));
  EXPECT_EQ(none[0].detail, "Enable Screen Recording, then restart Tarnhold Host.");
  EXPECT_EQ(none[1].detail, "Enable Accessibility for Tarnhold Host.");
  EXPECT_EQ(none[2].detail, "Optional: enables high-fidelity keyboard relay.");

  // Under Wayland even a reachable XWayland display does not count, and the rows say why.
  TarnXvfbServer server;
  std::vector<TarnPermission> wayland =
      TarnMacPermissionProbe({server.display(), "wayland-0", "wayland"}, noDevices.path()).currentPermissions();
  EXPECT_EQ(wayland[0].state, TarnPermissionState::missing);
  EXPECT_EQ(wayland[1].state, TarnPermissionState::missing);
  EXPECT_NE(wayland[0].detail.find("Wayland"), std::string::npos);
  EXPECT_NE(wayland[1].detail.find("Wayland"), std::string::npos);
}
