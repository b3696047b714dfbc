#include "TarnJsonTestSupport.h"
#include "model/TarnConnectionModels.h"
#include "model/TarnDeviceModels.h"
#include "model/TarnDisplayFileModels.h"
#include "model/TarnInterfaceModels.h"
#include "model/TarnJsonCoding.h"
#include "model/TarnTranscriptModels.h"
#include "model/TarnTransportError.h"

#include <gtest/gtest.h>

namespace {

template <class T>
std::optional<T> decodeLocal(std::string_view json) {
  return TarnJsonCoding::decode<T>(json, TarnDateCoding::iso8601);
}

} // namespace

TEST(TarnEnumerations, RawValuesMatchExactly) {
  EXPECT_EQ(enumFromRawValue<TarnConnectionStatus>("secured"), TarnConnectionStatus::secured);
  EXPECT_FALSE(enumFromRawValue<TarnConnectionStatus>("Secured"));
  EXPECT_FALSE(enumFromRawValue<TarnConnectionStatus>(""));
  EXPECT_EQ(enumFromRawValue<TarnTrustLevel>("owner"), TarnTrustLevel::owner);
  EXPECT_FALSE(enumFromRawValue<TarnTrustLevel>("Owner"));
  EXPECT_FALSE(enumFromRawValue<TarnActionRole>("Primary"));
  EXPECT_EQ(enumFromRawValue<TarnTerminalExchangeStatus>("running"), TarnTerminalExchangeStatus::running);
  EXPECT_FALSE(decodeLocal<TarnTerminalExchangeStatus>(R"("Running")"));
  EXPECT_EQ(decodeLocal<TarnTerminalExchangeStatus>(R"("running")"), TarnTerminalExchangeStatus::running);
  EXPECT_FALSE(decodeLocal<TarnConnectionStatus>(R"("Secured")"));
  EXPECT_EQ(TarnJsonCoding::encode(TarnConnectionDetail::switchingToInternet, TarnDateCoding::iso8601),
            R"("switchingToInternet")");
}

TEST(TarnEnumerations, TitlesAndSymbolsShownToTheUser) {
  struct Case {
    std::string_view title;
    std::string_view symbol;
    const char* expectedTitle;
    const char* expectedSymbol;
  };
  using S = TarnConnectionStatus;
  using M = TarnControlMode;
  const Case cases[] = {
      {title(S::offline), symbol(S::offline), "Offline", "circle.dashed"},
      {title(S::discovering), symbol(S::discovering), "Discovering", "dot.radiowaves.left.and.right"},
      {title(S::available), symbol(S::available), "Online", "checkmark.circle"},
      {title(S::connecting), symbol(S::connecting), "Connecting", "arrow.trianglehead.2.clockwise"},
      {title(S::connected), symbol(S::connected), "Connected", "link"},
      {title(S::secured), symbol(S::secured), "Secured", "lock.shield"},
      {title(M::screen), symbol(M::screen), "Screen", "display"},
      {title(M::terminal), symbol(M::terminal), "Terminal", "terminal"},
      {title(M::files), symbol(M::files), "Files", "folder"},
      {title(M::agents), symbol(M::agents), "Agents", "sparkles"},
      {title(TarnTransportKind::none), "", "No transport", ""},
      {title(TarnTransportKind::localPeer), "", "Local Peer", ""},
      {title(TarnTransportKind::directWebRTC), "", "Direct WebRTC", ""},
      {title(TarnTransportKind::relayFallback), "", "Relay Fallback", ""},
      {title(TarnTrustLevel::owner), "", "Owner", ""},
      {title(TarnTrustLevel::allowed), "", "Allowed", ""},
      {title(TarnTrustLevel::pending), "", "Pending", ""},
      {title(TarnPermissionState::ready), "", "Ready", ""},
      {title(TarnPermissionState::needsReview), "", "Review", ""},
      {title(TarnPermissionState::missing), "", "Missing", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.title, c.expectedTitle);
    EXPECT_EQ(c.symbol, c.expectedSymbol) << c.expectedTitle;
  }
}

TEST(TarnConnectionStatus, OnlyConnectedAndSecuredAreActive) {
  for (auto status : allCases<TarnConnectionStatus>()) {
    bool expected = status == TarnConnectionStatus::connected || status == TarnConnectionStatus::secured;
    EXPECT_EQ(isActive(status), expected) << rawValue(status);
  }
}

TEST(TarnConnectionDetail, BadgesBannersAndReconnect) {
  using D = TarnConnectionDetail;
  struct Case {
    D detail;
    std::optional<std::string_view> badge;
    std::optional<std::string_view> banner;
    bool reconnect;
  };
  const Case cases[] = {
      {D::none, std::nullopt, std::nullopt, false},
      {D::lan, "LAN", std::nullopt, false},
      {D::wan, "Internet", std::nullopt, false},
      {D::switchingToInternet, std::nullopt, "Switching to internet\xE2\x80\xA6", false},
      {D::macUnreachable, std::nullopt, "Mac unreachable. It may be asleep or offline.", true},
      {D::macOffline, std::nullopt, "Mac is offline \xE2\x80\x94 it may be asleep or Tarnhold Host quit.", true},
      {D::noInternet, std::nullopt, "No internet connection on this device.", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(badgeText(c.detail), c.badge) << rawValue(c.detail);
    EXPECT_EQ(bannerText(c.detail), c.banner) << rawValue(c.detail);
    EXPECT_EQ(showsReconnect(c.detail), c.reconnect) << rawValue(c.detail);
  }
  EXPECT_EQ(bannerText(D::switchingToInternet)->size(), 24u);
}

TEST(TarnWatchSessionSnapshot, CodesItsFieldsAndLeavesOutAbsentOnes) {
  TarnWatchSessionSnapshot snapshot{.deviceName = "Ada's Mac", .status = TarnConnectionStatus::secured,
                                    .isDeviceOnline = true, .activeDisplayName = "Built-in",
                                    .latencyMilliseconds = 18, .lastUpdated = TarnDate(786'000'000)};
  auto json = TarnJsonCoding::encode(snapshot, TarnDateCoding::iso8601);
  ASSERT_TRUE(json);
  EXPECT_EQ(jsonKeys(*json), sortedKeys({"deviceName", "status", "isDeviceOnline", "activeDisplayName",
                                         "latencyMilliseconds", "lastUpdated"}));
  EXPECT_EQ(decodeLocal<TarnWatchSessionSnapshot>(*json), snapshot);

  snapshot.deviceID = TarnUUID::random();
  snapshot.detail = TarnConnectionDetail::wan;
  EXPECT_EQ(decodeLocal<TarnWatchSessionSnapshot>(*TarnJsonCoding::encode(snapshot, TarnDateCoding::iso8601)),
            snapshot);
  EXPECT_FALSE(decodeLocal<TarnWatchSessionSnapshot>(
      R"({"deviceName":"x","status":"secured","isDeviceOnline":"yes","activeDisplayName":"",)"
      R"("latencyMilliseconds":0,"lastUpdated":"2026-12-09T21:45:00Z"})"));
}

TEST(TarnWatchSessionSnapshot, OfflineSummaryIsMadeOnce) {
  const auto& first = TarnWatchSessionSnapshot::offline();
  EXPECT_EQ(first.deviceName, "No Mac");
  EXPECT_EQ(first.activeDisplayName, "No display");
  EXPECT_EQ(first.status, TarnConnectionStatus::offline);
  EXPECT_FALSE(first.deviceID);
  EXPECT_FALSE(first.detail);
  EXPECT_EQ(TarnWatchSessionSnapshot::offline(), first);
}

TEST(TarnTransportError, DescribesEachCase) {
  EXPECT_EQ(TarnTransportError::permissionMissing("").errorDescription(),
            " is required before remote control can start.");
  EXPECT_EQ(TarnTransportError::permissionMissing("Accessibility").errorDescription(),
            "Accessibility is required before remote control can start.");
  EXPECT_EQ(TarnTransportError::deviceNotTrusted().errorDescription(),
            "This device has not been approved by the Mac host.");
  EXPECT_EQ(TarnTransportError::channelUnavailable().errorDescription(),
            "The secure transport channel is unavailable.");
  EXPECT_NE(TarnTransportError::permissionMissing("screen"), TarnTransportError::permissionMissing("Screen"));
  EXPECT_NE(TarnTransportError::deviceNotTrusted(), TarnTransportError::channelUnavailable());
}

TEST(TarnDisplayAndFileEntry, JsonFormAndRequiredKeys) {
  TarnFileEntry entry{.path = "/a/b", .name = "b", .isDirectory = false, .isHidden = false};
  auto json = TarnJsonCoding::encode(entry, TarnDateCoding::iso8601);
  ASSERT_TRUE(json);
  EXPECT_EQ(jsonKeys(*json), sortedKeys({"path", "name", "isDirectory", "isHidden"}));
  EXPECT_EQ(decodeLocal<TarnFileEntry>(*json), entry);
  EXPECT_FALSE(decodeLocal<TarnFileEntry>(R"({"path":"/a","name":"a","isDirectory":false})"));

  EXPECT_EQ(TarnJsonCoding::encode(TarnDisplay{7, "Main", 1920, 1080, true}, TarnDateCoding::iso8601),
            R"({"id":7,"name":"Main","width":1920,"height":1080,"isSelected":true})");
  for (const char* id : {"-1", "1.5", "4294967296"}) {
    auto display = std::string(R"({"id":)") + id + R"(,"name":"","width":1,"height":1,"isSelected":false})";
    EXPECT_FALSE(decodeLocal<TarnDisplay>(display)) << id;
  }
}

TEST(TarnRemoteCommand, NeedsEveryKeyButAcceptsAnEmptyPayload) {
  const std::string prefix = R"({"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","command":"x",)";
  EXPECT_TRUE(decodeLocal<TarnRemoteCommand>(prefix + R"("payload":"","createdAt":"2026-12-09T21:45:00Z"})"));
  EXPECT_FALSE(decodeLocal<TarnRemoteCommand>(prefix + R"("createdAt":"2026-12-09T21:45:00Z"})"));
}

TEST(TarnDevice, DiscoveredHostDefaults) {
  auto id = TarnUUID::random();
  auto host = TarnDevice::discoveredHost(id, "ada-laptop", std::nullopt, "192.0.2.4");
  EXPECT_EQ(host.id, id);
  EXPECT_EQ(host.model, "Tarnhold Host");
  EXPECT_EQ(host.trustLevel, TarnTrustLevel::pending);
  EXPECT_FALSE(host.batteryLevel);
  EXPECT_TRUE(host.isCurrentHost);

  auto later = host;
  later.lastSeen = TarnDate(host.lastSeen.secondsSinceReferenceDate() + 1);
  EXPECT_NE(later, host);
}

TEST(TarnTerminalSession, RunsWhileAnyExchangeRuns) {
  auto exchange = [](TarnTerminalExchangeStatus status) {
    return TarnTerminalExchange{.status = status};
  };
  TarnTerminalSession session;
  EXPECT_FALSE(session.isRunning());
  session.exchanges = {exchange(TarnTerminalExchangeStatus::running),
                       exchange(TarnTerminalExchangeStatus::failed)};
  EXPECT_TRUE(session.isRunning());
  session.exchanges[0].status = TarnTerminalExchangeStatus::succeeded;
  EXPECT_FALSE(session.isRunning());

  auto withEmptyError = exchange(TarnTerminalExchangeStatus::failed);
  withEmptyError.errorMessage = "";
  EXPECT_NE(withEmptyError, exchange(TarnTerminalExchangeStatus::failed));
}

TEST(TarnControlMode, CasesInOrderWithLowerCaseIds) {
  EXPECT_EQ(allCases<TarnControlMode>(),
            (std::array{TarnControlMode::screen, TarnControlMode::terminal, TarnControlMode::files,
                        TarnControlMode::agents}));
  EXPECT_EQ(rawValue(TarnControlMode::files), "files");
}
