#include "tests/support/lineclient/TarnTestOwner.h"

#include "host/core/TarnMacHostService.h"

#include <QTimer>

#include <algorithm>

TarnTestOwner::TarnTestOwner(QObject* parent) : QObject(parent) {}

TarnHostCallbacks TarnTestOwner::callbacks() {
  TarnHostCallbacks callbacks;
  callbacks.pairingCodeProvider = [this] { return pairingCode; };
  callbacks.onAdvertisingChanged = [this](bool advertising) { advertisingStates.push_back(advertising); };
  callbacks.onDevicePaired = [this](const TarnDevice& device) { pairedDevices.push_back(device); };
  callbacks.onSessionSecured = [this](const TarnDevice&, int latency) { securedLatencies.push_back(latency); };
  callbacks.onPairingApprovalRequested = [this](const TarnPairingApprovalRequest& request) { requestArrived(request); };
  callbacks.onPairingApprovalRemoved = [this](const TarnUUID& id) { removedApprovals.push_back(id); };
  callbacks.onCommand = [this](const TarnWireCommand& command, const std::optional<TarnDevice>& device) {
    commands.push_back({command, device});
  };
  callbacks.onEvent = [this](const QString& title, const QString& detail, const QString& symbol) {
    events.push_back({title, detail, symbol});
  };
  callbacks.onHostTokenGranted = [this](const QString& token) { hostTokens.push_back(token); };
  callbacks.stopSessionKeepAwake = [this] { ++keepAwakeStops; };
  return callbacks;
}

void TarnTestOwner::answerWith(Answer answer, TarnMacHostService* service) {
  answer_ = answer;
  service_ = service;
}

std::vector<QString> TarnTestOwner::eventTitles() const {
  std::vector<QString> titles;
  for (const Event& event : events) titles.push_back(event.title);
  return titles;
}

bool TarnTestOwner::hasEvent(const QString& title) const { return lastEvent(title) != nullptr; }

const TarnTestOwner::Event* TarnTestOwner::lastEvent(const QString& title) const {
  const auto found =
      std::find_if(events.rbegin(), events.rend(), [&](const Event& event) { return event.title == title; });
  return found == events.rend() ? nullptr : &*found;
}

void TarnTestOwner::requestArrived(const TarnPairingApprovalRequest& request) {
  approvalRequests.push_back(request);
  if (answer_ == Answer::wait) return;
  const TarnUUID connectionID = request.id;
  QTimer::singleShot(0, this, [this, connectionID] {
    if (!service_) return;
    if (answer_ == Answer::approve) service_->approvePairingRequest(connectionID);
    if (answer_ == Answer::reject) service_->rejectPairingRequest(connectionID);
  });
}
