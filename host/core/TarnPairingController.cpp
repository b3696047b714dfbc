#include "host/core/TarnPairingController.h"

#include "host/core/TarnHostCallbacks.h"
#include "host/core/TarnHostIdentity.h"
#include "host/core/TarnPairingCode.h"
#include "host/core/TarnTrustTokenStore.h"

namespace {
constexpr int securedLatencyMilliseconds = 18;

QString text(const std::string& value) { return QString::fromStdString(value); }

bool isWatch(const TarnWirePairRequest& request) { return isWatchModel(text(request.clientModel)); }

TarnDevice deviceFor(const TarnWirePairRequest& request) {
  TarnDevice device;
  device.id = request.clientID;
  device.name = request.clientName;
  device.model = request.clientModel;
  device.address = "Local Network";
  device.lastSeen = TarnDate::now();
  device.trustLevel = TarnTrustLevel::owner;
  device.isCurrentHost = false;
  return device;
}
}  // namespace

TarnPairingController::TarnPairingController(TarnPairingHost& host, const TarnHostIdentity& identity,
                                             const TarnHostCallbacks& callbacks, TarnTrustTokenStore& tokens)
    : host_(host), identity_(identity), callbacks_(callbacks), tokens_(tokens) {}

void TarnPairingController::handlePairRequest(const TarnWirePairRequest& request, const TarnUUID& connectionID) {
  const QString shownCode = callbacks_.pairingCodeProvider ? callbacks_.pairingCodeProvider() : QString();
  const QString expected = normalizedPairingCode(shownCode);
  const QString offered = normalizedPairingCode(text(request.pairingCode));
  const std::optional<QString> stored = tokens_.storedToken(request.clientID);
  const bool trusted = request.trustToken && stored && text(*request.trustToken) == *stored;
  const bool codeMatches = !offered.isEmpty() && offered == expected;
  const bool watch = isWatch(request);
  const QString name = text(request.clientName);

  report(QStringLiteral("Pairing request"), name + QStringLiteral(" sent a pairing request."),
         watch ? QStringLiteral("applewatch") : QStringLiteral("iphone"));

  if (codeMatches && !trusted) {
    removePendingOfDevice(request.clientID, connectionID);
    pending_[connectionID] = request;
    if (callbacks_.onPairingApprovalRequested) {
      TarnPairingApprovalRequest approval;
      approval.id = connectionID;
      approval.clientID = request.clientID;
      approval.clientName = request.clientName;
      approval.clientModel = request.clientModel;
      approval.receivedAt = TarnDate::now();
      approval.isWatchClient = watch;
      callbacks_.onPairingApprovalRequested(approval);
    }
    report(QStringLiteral("Approve pairing"),
           name + QStringLiteral(" entered the correct code. Accept the request on this Mac."),
           watch ? QStringLiteral("applewatch.radiowaves.left.and.right") : QStringLiteral("iphone"));
  } else if (trusted) {
    accept(request, connectionID, Acceptance::trustedReconnect);
  } else {
    refuse(connectionID, QStringLiteral("Pairing code did not match."));
    report(QStringLiteral("Pairing rejected"), name + QStringLiteral(" entered an invalid code."),
           QStringLiteral("xmark.shield"));
  }
}

void TarnPairingController::approve(const TarnUUID& connectionID) {
  const auto waiting = pending_.find(connectionID);
  if (waiting != pending_.end() && host_.canReach(connectionID)) {
    const TarnWirePairRequest request = waiting->second;
    removePending(connectionID);
    accept(request, connectionID, Acceptance::approvedByUser);
    return;
  }
  removePending(connectionID);
  report(QStringLiteral("Pairing unavailable"), QStringLiteral("The waiting device disconnected before approval."),
         QStringLiteral("exclamationmark.triangle"));
}

void TarnPairingController::reject(const TarnUUID& connectionID) {
  const auto waiting = pending_.find(connectionID);
  if (waiting == pending_.end()) return;
  const QString name = text(waiting->second.clientName);
  removePending(connectionID);
  if (!host_.canReach(connectionID)) return;
  refuse(connectionID, QStringLiteral("Pairing request was denied on the Mac."));
  report(QStringLiteral("Pairing denied"), name + QStringLiteral(" was not allowed to control this Mac."),
         QStringLiteral("xmark.shield"));
}

void TarnPairingController::accept(const TarnWirePairRequest& request, const TarnUUID& connectionID,
                                   Acceptance acceptance) {
  const TarnDevice device = deviceFor(request);
  const TarnIssuedToken issued = tokens_.issueToken(request.clientID);
  paired_[connectionID] = device;
  if (callbacks_.onDevicePaired) callbacks_.onDevicePaired(device);
  if (callbacks_.onSessionSecured) callbacks_.onSessionSecured(device, securedLatencyMilliseconds);

  TarnWirePairResult result = identity_.pairResult(
      TarnPairVerdict::accepted, acceptance == Acceptance::trustedReconnect
                                     ? QStringLiteral("Trusted local session restored.")
                                     : QStringLiteral("Approved on Mac. Secured local peer session."));
  result.latencyMilliseconds = securedLatencyMilliseconds;
  result.trustToken = issued.token.toStdString();
  host_.send(TarnWireEnvelope::carrying(result), connectionID);

  if (issued.persistence == TarnTokenPersistence::thisRunOnly) {
    report(QStringLiteral("Trust token not saved"),
           text(request.clientName) +
               QStringLiteral(" is paired, but the keychain did not store its token; it must pair again after the host restarts."),
           QStringLiteral("exclamationmark.triangle"));
  }
  if (isWatch(request)) {
    report(QStringLiteral("Watch connected"),
           text(request.clientName) + QStringLiteral(" is using direct local controls without screen streaming."),
           QStringLiteral("applewatch.radiowaves.left.and.right"));
  }
  host_.clientAccepted(connectionID);
}

std::optional<TarnDevice> TarnPairingController::pairedDevice(const TarnUUID& connectionID) const {
  const auto found = paired_.find(connectionID);
  if (found == paired_.end()) return std::nullopt;
  return found->second;
}

std::vector<TarnUUID> TarnPairingController::pairedConnections(TarnClientAudience audience) const {
  std::vector<TarnUUID> connections;
  for (const auto& [connectionID, device] : paired_) {
    if (audience == TarnClientAudience::pairedNonWatch && isWatchModel(text(device.model))) continue;
    connections.push_back(connectionID);
  }
  return connections;
}

void TarnPairingController::forget(const TarnUUID& connectionID) {
  paired_.erase(connectionID);
  removePending(connectionID);
}

void TarnPairingController::clear() {
  paired_.clear();
  std::vector<TarnUUID> withdrawn;
  for (const auto& [connectionID, request] : pending_) withdrawn.push_back(connectionID);
  pending_.clear();
  if (!callbacks_.onPairingApprovalRemoved) return;
  for (const TarnUUID& connectionID : withdrawn) callbacks_.onPairingApprovalRemoved(connectionID);
}

void TarnPairingController::removePending(const TarnUUID& connectionID) {
  if (pending_.erase(connectionID) == 0) return;
  if (callbacks_.onPairingApprovalRemoved) callbacks_.onPairingApprovalRemoved(connectionID);
}

void TarnPairingController::removePendingOfDevice(const TarnUUID& clientID, const TarnUUID& keptConnectionID) {
  std::vector<TarnUUID> withdrawn;
  for (const auto& [connectionID, request] : pending_) {
    if (connectionID != keptConnectionID && request.clientID == clientID) withdrawn.push_back(connectionID);
  }
  for (const TarnUUID& connectionID : withdrawn) removePending(connectionID);
}

void TarnPairingController::refuse(const TarnUUID& connectionID, const QString& message) {
  host_.send(TarnWireEnvelope::carrying(identity_.pairResult(TarnPairVerdict::refused, message)), connectionID);
}

void TarnPairingController::report(const QString& title, const QString& detail, const QString& symbol) const {
  if (callbacks_.onEvent) callbacks_.onEvent(title, detail, symbol);
}
