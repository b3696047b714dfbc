#pragma once

#include "model/TarnModels.h"

#include <QString>

#include <functional>
#include <optional>

// How the host service reaches its owner. Every callback runs on the main thread,
// inside the operation that triggers it; an unset callback is skipped.
struct TarnHostCallbacks {
  // The code the owner shows at this moment, e.g. "123 456".
  std::function<QString()> pairingCodeProvider;
  std::function<void(bool advertising)> onAdvertisingChanged;
  std::function<void(const TarnDevice&)> onDevicePaired;
  std::function<void(const TarnDevice&, int latencyMilliseconds)> onSessionSecured;
  std::function<void(const TarnPairingApprovalRequest&)> onPairingApprovalRequested;
  std::function<void(const TarnUUID& connectionID)> onPairingApprovalRemoved;
  // Commands no host unit handles, from paired clients only.
  std::function<void(const TarnWireCommand&, const std::optional<TarnDevice>&)> onCommand;
  std::function<void(const QString& title, const QString& detail, const QString& symbol)> onEvent;
  std::function<void(const QString& hostToken)> onHostTokenGranted;
  // Ends the keep-awake process a client's session may have started.
  std::function<void()> stopSessionKeepAwake;
};
