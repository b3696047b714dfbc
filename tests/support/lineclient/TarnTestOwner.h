#pragma once

#include "host/core/TarnHostCallbacks.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class TarnMacHostService;

// Stands in for the application state: records every callback of the host service and,
// if asked, answers pairing approvals the way a local user would (after the callback returns).
class TarnTestOwner : public QObject {
public:
  enum class Answer { wait, approve, reject };

  struct Event {
    QString title;
    QString detail;
    QString symbol;
  };
  struct Command {
    TarnWireCommand command;
    std::optional<TarnDevice> device;
  };

  explicit TarnTestOwner(QObject* parent = nullptr);

  TarnHostCallbacks callbacks();
  void answerWith(Answer answer, TarnMacHostService* service);

  QString pairingCode = QStringLiteral("123 456");
  std::vector<Event> events;
  std::vector<bool> advertisingStates;
  std::vector<TarnDevice> pairedDevices;
  std::vector<int> securedLatencies;
  std::vector<TarnPairingApprovalRequest> approvalRequests;
  std::vector<TarnUUID> removedApprovals;
  std::vector<Command> commands;
  std::vector<QString> hostTokens;
  int keepAwakeStops = 0;

  std::vector<QString> eventTitles() const;
  bool hasEvent(const QString& title) const;
  const Event* lastEvent(const QString& title) const;

private:
  void requestArrived(const TarnPairingApprovalRequest& request);

  Answer answer_ = Answer::wait;
  QPointer<TarnMacHostService> service_;
};
