#pragma once

#include "model/TarnDate.h"
#include "model/TarnRawEnum.h"
#include "model/TarnUUID.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The state of the link as the interface shows it.
enum class TarnConnectionStatus { offline, discovering, available, connecting, connected, secured };

template <>
struct TarnEnumNames<TarnConnectionStatus> {
  static constexpr std::array<std::string_view, 6> values = {
      "offline", "discovering", "available", "connecting", "connected", "secured"};
};

std::string_view title(TarnConnectionStatus status);
std::string_view symbol(TarnConnectionStatus status);
// Only a connected or secured link is active; one still connecting is not.
bool isActive(TarnConnectionStatus status);

// Which path carries the link, or why there is none.
enum class TarnConnectionDetail {
  none,
  lan,
  wan,
  switchingToInternet,
  macUnreachable,
  macOffline,
  noInternet,
};

template <>
struct TarnEnumNames<TarnConnectionDetail> {
  static constexpr std::array<std::string_view, 7> values = {
      "none", "lan", "wan", "switchingToInternet", "macUnreachable", "macOffline", "noInternet"};
};

std::optional<std::string_view> badgeText(TarnConnectionDetail detail);
std::optional<std::string_view> bannerText(TarnConnectionDetail detail);
bool showsReconnect(TarnConnectionDetail detail);

enum class TarnTransportKind { none, localPeer, directWebRTC, relayFallback };

template <>
struct TarnEnumNames<TarnTransportKind> {
  static constexpr std::array<std::string_view, 4> values = {
      "none", "localPeer", "directWebRTC", "relayFallback"};
};

std::string_view title(TarnTransportKind transport);

enum class TarnScreenStreamState { idle, waiting, streaming, blocked, failed };

template <>
struct TarnEnumNames<TarnScreenStreamState> {
  static constexpr std::array<std::string_view, 5> values = {
      "idle", "waiting", "streaming", "blocked", "failed"};
};

struct TarnConnectionSnapshot {
  TarnConnectionStatus status = TarnConnectionStatus::offline;
  std::int64_t latencyMilliseconds = 0;
  TarnTransportKind transport = TarnTransportKind::none;
  std::string activeDisplayName{};
  TarnDate lastHandshake{};
  TarnConnectionDetail detail = TarnConnectionDetail::none;

  bool operator==(const TarnConnectionSnapshot&) const = default;
};

// A compact summary of the link for a watch.
struct TarnWatchSessionSnapshot {
  std::optional<TarnUUID> deviceID{};
  std::string deviceName{};
  TarnConnectionStatus status = TarnConnectionStatus::offline;
  bool isDeviceOnline = false;
  std::string activeDisplayName{};
  std::int64_t latencyMilliseconds = 0;
  std::optional<TarnConnectionDetail> detail{};
  TarnDate lastUpdated{};

  bool operator==(const TarnWatchSessionSnapshot&) const = default;

  // The summary when no Mac is connected, made on first use and unchanged afterwards.
  static const TarnWatchSessionSnapshot& offline();

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("deviceID", self.deviceID);
    visit("deviceName", self.deviceName);
    visit("status", self.status);
    visit("isDeviceOnline", self.isDeviceOnline);
    visit("activeDisplayName", self.activeDisplayName);
    visit("latencyMilliseconds", self.latencyMilliseconds);
    visit("detail", self.detail);
    visit("lastUpdated", self.lastUpdated);
  }
};
