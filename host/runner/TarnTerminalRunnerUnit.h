#pragma once
#include "host/core/TarnHostUnit.h"
#include "host/runner/TarnMacTerminalRunner.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <string>
#include <unordered_map>

// Serves "runTerminalCommand": each command runs on a worker thread and its reply goes back
// to the sender from the main thread. Remembers per client the folder its last command ended in.
class TarnTerminalRunnerUnit : public TarnHostUnit {
public:
  TarnTerminalRunnerUnit(TarnHostContext& context, TarnTerminalRunnerSettings settings);
  // Stops the commands still running (their replies are dropped) and waits for them.
  ~TarnTerminalRunnerUnit() override;

  std::vector<std::string> commandNames() const override;
  void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) override;
  void clientDeparted(const TarnUUID& clientID) override;
  void serviceStopped() override;
  void sessionEnded() override;

private:
  void deliver(const TarnWireTerminalResponse& response, const TarnUUID& clientID);

  TarnHostContext& context_;
  std::atomic<bool> stopping_{false};
  TarnMacTerminalRunner runner_;
  std::unordered_map<TarnUUID, std::string> terminalDirectoriesByConnectionID_;
  QObject replyAnchor_; // queued replies die with the unit
  QThreadPool workers_;  // declared last: joined first, while everything above still exists
};
