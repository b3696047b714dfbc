#include "host/runner/TarnTerminalRunnerUnit.h"

#include <QPointer>

#include <algorithm>

namespace {
// Commands block their thread for up to the time limit; this many run at once, the rest wait.
constexpr int concurrentCommands = 8;
} // namespace

TarnTerminalRunnerUnit::TarnTerminalRunnerUnit(TarnHostContext& context, TarnTerminalRunnerSettings settings)
    : context_(context), runner_(std::move(settings), &stopping_) {
  workers_.setMaxThreadCount(concurrentCommands);
  workers_.setObjectName(QStringLiteral("tarn-runner"));
}

TarnTerminalRunnerUnit::~TarnTerminalRunnerUnit() {
  workers_.clear();
  stopping_ = true;
  workers_.waitForDone();
}

std::vector<std::string> TarnTerminalRunnerUnit::commandNames() const {
  return {std::string(TarnHostCommandName::runTerminalCommand)};
}

void TarnTerminalRunnerUnit::handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) {
  const std::optional<TarnWireTerminalRequest> request = TarnWireTerminalRequest::decode(command.payload);
  if (!request) {
    context_.send(TarnWireEnvelope::error("The terminal command payload was invalid."), clientID);
    return;
  }
  const auto remembered = terminalDirectoriesByConnectionID_.find(clientID);
  const std::string directory =
      remembered != terminalDirectoriesByConnectionID_.end() ? remembered->second : runner_.homeDirectory();
  QPointer<QObject> service = context_.lifetimeObject();
  workers_.start([this, request = *request, directory, clientID, service] {
    TarnWireTerminalResponse response = runner_.run(request, directory);
    QMetaObject::invokeMethod(
        &replyAnchor_,
        [this, response = std::move(response), clientID, service] {
          if (service) {
            deliver(response, clientID);
          }
        },
        Qt::QueuedConnection);
  });
}

void TarnTerminalRunnerUnit::deliver(const TarnWireTerminalResponse& response, const TarnUUID& clientID) {
  // A client that left meanwhile gets no folder kept for it: its identifier never comes back.
  const std::vector<TarnUUID> clients = context_.clientIDs(TarnClientAudience::allPaired);
  if (std::find(clients.begin(), clients.end(), clientID) != clients.end()) {
    terminalDirectoriesByConnectionID_[clientID] = response.workingDirectory;
  }
  context_.send(TarnWireEnvelope::carrying(response), clientID);
  const QString detail = QString::fromStdString(response.message);
  if (response.didSucceed()) {
    context_.reportEvent(QStringLiteral("Terminal command completed"), detail, QStringLiteral("terminal"));
  } else {
    context_.reportEvent(QStringLiteral("Terminal command failed"), detail, QStringLiteral("exclamationmark.triangle"));
  }
}

void TarnTerminalRunnerUnit::clientDeparted(const TarnUUID& clientID) {
  terminalDirectoriesByConnectionID_.erase(clientID);
}

void TarnTerminalRunnerUnit::serviceStopped() {
  terminalDirectoriesByConnectionID_.clear();
}

void TarnTerminalRunnerUnit::sessionEnded() {
  terminalDirectoriesByConnectionID_.clear();
}
