#pragma once

#include <string>

// Why a remote-control link cannot be used.
struct TarnTransportError {
  enum class Kind { permissionMissing, deviceNotTrusted, channelUnavailable };

  Kind kind = Kind::channelUnavailable;
  std::string permissionName{}; // only for permissionMissing

  static TarnTransportError permissionMissing(std::string permission) {
    return {Kind::permissionMissing, std::move(permission)};
  }
  static TarnTransportError deviceNotTrusted() { return {Kind::deviceNotTrusted, {}}; }
  static TarnTransportError channelUnavailable() { return {Kind::channelUnavailable, {}}; }

  std::string errorDescription() const;

  bool operator==(const TarnTransportError&) const = default;
};
