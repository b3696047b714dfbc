#pragma once

#include "host/core/TarnHostCallbacks.h"

#include <QSocketNotifier>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

class TarnMacHostService;

// The host's owner on a terminal: shows the pairing code and every event, and asks
// the person at the keyboard to approve or reject each pairing request.
class TarnConsoleOwner {
public:
  explicit TarnConsoleOwner(FILE* out = stdout);
  ~TarnConsoleOwner();

  TarnHostCallbacks callbacks();
  // Approvals are answered on this service; call once it exists.
  void attach(TarnMacHostService& service);
  const QString& pairingCode() const { return pairingCode_; }

private:
  void print(const QString& line);
  void askAboutOldest();
  void readAnswer();
  void requestArrived(const TarnPairingApprovalRequest& request);
  void requestRemoved(const TarnUUID& connectionID);

  QString pairingCode_;
  QTextStream out_;
  TarnMacHostService* service_ = nullptr;
  std::deque<TarnPairingApprovalRequest> waiting_;
  std::unique_ptr<QSocketNotifier> input_;
  QByteArray pendingInput_;
};
