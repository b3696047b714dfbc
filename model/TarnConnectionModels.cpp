#include "model/TarnConnectionModels.h"

namespace {

struct StatusText {
  std::string_view title;
  std::string_view symbol;
};

constexpr std::array<StatusText, 6> kStatusTexts = {{
    {"Offline", "circle.dashed"},
    {"Discovering", "dot.radiowaves.left.and.right"},
    {"Online", "checkmark.circle"},
    {"Connecting", "arrow.trianglehead.2.clockwise"},
    {"Connected", "link"},
    {"Secured", "lock.shield"},
}};

constexpr std::array<std::string_view, 4> kTransportTitles = {
    "No transport", "Local Peer", "Direct WebRTC", "Relay Fallback"};

} // namespace

std::string_view title(TarnConnectionStatus status) {
  return kStatusTexts[static_cast<std::size_t>(status)].title;
}

std::string_view symbol(TarnConnectionStatus status) {
  return kStatusTexts[static_cast<std::size_t>(status)].symbol;
}

bool isActive(TarnConnectionStatus status) {
  return status == TarnConnectionStatus::connected || status == TarnConnectionStatus::secured;
}

std::optional<std::string_view> badgeText(TarnConnectionDetail detail) {
  switch (detail) {
  case TarnConnectionDetail::lan: return "LAN";
  case TarnConnectionDetail::wan: return "Internet";
  default: return std::nullopt;
  }
}

std::optional<std::string_view> bannerText(TarnConnectionDetail detail) {
  switch (detail) {
  case TarnConnectionDetail::switchingToInternet: return "Switching to internet\u2026";
  case TarnConnectionDetail::macUnreachable: return "Mac unreachable. It may be asleep or offline.";
  case TarnConnectionDetail::macOffline:
    return "Mac is offline \u2014 it may be asleep or Tarnhold Host quit.";
  case TarnConnectionDetail::noInternet: return "No internet connection on this device.";
  default: return std::nullopt;
  }
}

bool showsReconnect(TarnConnectionDetail detail) {
  return detail == TarnConnectionDetail::macUnreachable ||
         detail == TarnConnectionDetail::macOffline || detail == TarnConnectionDetail::noInternet;
}

std::string_view title(TarnTransportKind transport) {
  return kTransportTitles[static_cast<std::size_t>(transport)];
}

const TarnWatchSessionSnapshot& TarnWatchSessionSnapshot::offline() {
  static const TarnWatchSessionSnapshot snapshot{
      .deviceID = std::nullopt,
      .deviceName = "No Mac",
      .status = TarnConnectionStatus::offline,
      .isDeviceOnline = false,
      .activeDisplayName = "No display",
      .latencyMilliseconds = 0,
      .detail = std::nullopt,
      .lastUpdated = TarnDate::now(),
  };
  return snapshot;
}
