#pragma once

#include "model/TarnDate.h"
#include "model/TarnRawEnum.h"
#include "model/TarnUUID.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TarnTrustLevel { owner, allowed, pending };

template <>
struct TarnEnumNames<TarnTrustLevel> {
  static constexpr std::array<std::string_view, 3> values = {"owner", "allowed", "pending"};
};

std::string_view title(TarnTrustLevel level);

// A known remote device.
struct TarnDevice {
  TarnUUID id{};
  std::string name{};
  std::string model{};
  std::string address{};
  TarnDate lastSeen{};
  TarnTrustLevel trustLevel = TarnTrustLevel::pending;
  std::optional<std::int64_t> batteryLevel{};
  bool isCurrentHost = false;

  static constexpr std::string_view defaultHostModel = "Tarnhold Host";

  // A host found on the network, seen now and not yet trusted.
  static TarnDevice discoveredHost(const TarnUUID& id, std::string name,
                                   std::optional<std::string> model, std::string address);

  bool operator==(const TarnDevice&) const = default;
};

// A pairing request that entered the right code and waits for the local user.
struct TarnPairingApprovalRequest {
  TarnUUID id{}; // the connection that sent the request
  TarnUUID clientID{};
  std::string clientName{};
  std::string clientModel{};
  TarnDate receivedAt{};
  bool isWatchClient = false;

  bool operator==(const TarnPairingApprovalRequest&) const = default;
};

enum class TarnPermissionState { ready, needsReview, missing };

template <>
struct TarnEnumNames<TarnPermissionState> {
  static constexpr std::array<std::string_view, 3> values = {"ready", "needsReview", "missing"};
};

std::string_view title(TarnPermissionState state);

// One system permission the host needs.
struct TarnPermission {
  std::string id{};
  std::string title{};
  std::string detail{};
  std::string symbol{};
  TarnPermissionState state = TarnPermissionState::missing;

  bool operator==(const TarnPermission&) const = default;
};

// One entry of the activity log.
struct TarnActivityEvent {
  TarnUUID id{};
  std::string title{};
  std::string detail{};
  std::string symbol{};
  TarnDate timestamp{};

  bool operator==(const TarnActivityEvent&) const = default;
};
