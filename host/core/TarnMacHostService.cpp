#include "host/core/TarnMacHostService.h"

#include "host/core/TarnHostLog.h"
#include "host/core/TarnLocalConnection.h"
#include "platform/mdns/TarnServiceAdvertiser.h"

#include <QSettings>
#include <QTcpSocket>

#include <optional>
#include <unordered_set>

namespace {
const QString warningSymbol = QStringLiteral("exclamationmark.triangle");
}  // namespace

// Encodes once for every local recipient of one envelope.
class TarnMacHostService::LineCache {
public:
  explicit LineCache(const TarnWireEnvelope& envelope) : envelope_(envelope) {}
  const std::optional<std::string>& line() {
    if (!encoded_) {
      encoded_ = true;
      std::string line = TarnWireCodec::encode(envelope_);
      if (!line.empty()) line_ = std::move(line);
    }
    return line_;
  }

private:
  const TarnWireEnvelope& envelope_;
  bool encoded_ = false;
  std::optional<std::string> line_;
};

TarnMacHostService::TarnMacHostService(const QString& hostName, const QString& displayName,
                                       TarnHostCallbacks callbacks, TarnHostEnvironment environment, QObject* parent)
    : QObject(parent),
      callbacks_(std::move(callbacks)),
      environment_(std::move(environment)),
      identity_{TarnHostIdentity::stableHostID(*environment_.defaults), hostName, displayName,
                TarnHostIdentity::modelForThisMachine()},
      tokens_(environment_.keychain, *environment_.defaults),
      pairing_(*this, identity_, callbacks_, tokens_) {
  // Tokens of the older defaults dictionary sit there in plain text until moved.
  tokens_.migrateLegacyTokens();
}

TarnMacHostService::~TarnMacHostService() {
  listener_.reset();
  for (const auto& [connectionID, connection] : connections_) delete connection;
  connections_.clear();
}

void TarnMacHostService::addUnit(std::unique_ptr<TarnHostUnit> unit) { dispatcher_.addUnit(std::move(unit)); }

void TarnMacHostService::setOnHostTokenGranted(std::function<void(const QString&)> callback) {
  callbacks_.onHostTokenGranted = std::move(callback);
}

quint16 TarnMacHostService::listeningPort() const { return listener_ ? listener_->port() : 0; }

void TarnMacHostService::start() {
  stop();
  auto listener = std::make_unique<TarnHostListener>(environment_.makeAdvertiser(), nullptr);
  if (!listener->listen(environment_.endpoint)) {
    setAdvertising(false);
    reportEvent(QStringLiteral("Host failed to start"), listener->errorString(), warningSymbol);
    return;
  }
  // Reports of a listener that a later start replaced must not change the state.
  TarnHostListener* current = listener.get();
  connect(current, &TarnHostListener::connectionPending, this, [this, current] {
    if (current == listener_.get()) acceptPendingConnections(current);
  });
  connect(current, &TarnHostListener::advertised, this, [this, current] {
    if (current != listener_.get()) return;
    setAdvertising(true);
    reportEvent(QStringLiteral("Host available"), QStringLiteral("Tarnhold Host is advertising _tarnhold._tcp."),
                QStringLiteral("antenna.radiowaves.left.and.right"));
  });
  connect(current, &TarnHostListener::advertisingFailed, this, [this, current](const QString& reason) {
    if (current != listener_.get()) return;
    setAdvertising(false);
    reportEvent(QStringLiteral("Host not advertised"),
                reason + QStringLiteral(" Devices can still connect to port ") + QString::number(current->port()) +
                    QStringLiteral("."),
                warningSymbol);
  });
  connect(current, &TarnHostListener::failed, this, [this, current](const QString& reason) {
    if (current != listener_.get()) return;
    setAdvertising(false);
    reportEvent(QStringLiteral("Host listener failed"), reason, warningSymbol);
  });
  listener_ = std::move(listener);
  dispatcher_.forEachUnit([](TarnHostUnit& unit) { unit.serviceStarted(); });
  current->advertise(identity_.hostName, identity_.txtRecord());
}

void TarnMacHostService::stop() {
  listener_.reset();
  const std::vector<TarnUUID> closed = closeLocalConnections();
  pairing_.clear();
  stopSessionKeepAwake();
  for (const TarnUUID& connectionID : closed) {
    dispatcher_.forEachUnit([&](TarnHostUnit& unit) { unit.clientDeparted(connectionID); });
  }
  dispatcher_.forEachUnit([](TarnHostUnit& unit) { unit.serviceStopped(); });
  setAdvertising(false);
}

void TarnMacHostService::endSession() {
  sendToAll(TarnWireEnvelope::sessionEnded());
  const std::vector<TarnUUID> closed = closeLocalConnections();
  pairing_.clear();
  stopSessionKeepAwake();
  for (const TarnUUID& connectionID : closed) {
    dispatcher_.forEachUnit([&](TarnHostUnit& unit) { unit.clientDeparted(connectionID); });
  }
  dispatcher_.forEachUnit([](TarnHostUnit& unit) { unit.sessionEnded(); });
}

void TarnMacHostService::approvePairingRequest(const TarnUUID& connectionID) { pairing_.approve(connectionID); }

void TarnMacHostService::rejectPairingRequest(const TarnUUID& connectionID) { pairing_.reject(connectionID); }

void TarnMacHostService::attachWANClient(const TarnUUID& connectionID, TarnWanResponder respond) {
  wanResponders_[connectionID] = std::move(respond);
  reportEvent(QStringLiteral("Remote client connected"),
              QStringLiteral("A device connected over the internet and is pairing."), QStringLiteral("globe"));
}

void TarnMacHostService::ingestWAN(const TarnWireEnvelope& envelope, const TarnUUID& fromClientID) {
  handle(envelope, fromClientID);
}

void TarnMacHostService::detachWANClient(const TarnUUID& connectionID) {
  wanResponders_.erase(connectionID);
  clientGone(connectionID);
}

void TarnMacHostService::send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) {
  LineCache lines(envelope);
  deliver(envelope, toClientID, lines);
}

void TarnMacHostService::sendToAll(const TarnWireEnvelope& envelope) {
  std::unordered_set<TarnUUID> recipients;
  for (const auto& [connectionID, connection] : connections_) recipients.insert(connectionID);
  for (const auto& [connectionID, respond] : wanResponders_) recipients.insert(connectionID);
  LineCache lines(envelope);
  for (const TarnUUID& connectionID : recipients) deliver(envelope, connectionID, lines);
}

void TarnMacHostService::sendToPairedDevices(const TarnWireEnvelope& envelope) {
  sendToClients(envelope, TarnClientAudience::allPaired);
}

void TarnMacHostService::sendToClients(const TarnWireEnvelope& envelope, TarnClientAudience audience) {
  LineCache lines(envelope);
  for (const TarnUUID& connectionID : pairing_.pairedConnections(audience)) deliver(envelope, connectionID, lines);
}

std::vector<TarnUUID> TarnMacHostService::clientIDs(TarnClientAudience audience) const {
  return pairing_.pairedConnections(audience);
}

void TarnMacHostService::reportEvent(const QString& title, const QString& detail, const QString& symbol) {
  if (callbacks_.onEvent) callbacks_.onEvent(title, detail, symbol);
}

bool TarnMacHostService::canReach(const TarnUUID& connectionID) const {
  return connections_.contains(connectionID) || wanResponders_.contains(connectionID);
}

void TarnMacHostService::clientAccepted(const TarnUUID& connectionID) {
  if (const auto local = connections_.find(connectionID); local != connections_.end()) local->second->markPaired();
  dispatcher_.forEachUnit([&](TarnHostUnit& unit) { unit.clientPaired(connectionID); });
}

void TarnMacHostService::deliver(const TarnWireEnvelope& envelope, const TarnUUID& connectionID, LineCache& lines) {
  if (const auto responder = wanResponders_.find(connectionID); responder != wanResponders_.end()) {
    // A copy: the responder may detach its client while it runs.
    const TarnWanResponder respond = responder->second;
    respond(envelope);
    return;
  }
  const auto local = connections_.find(connectionID);
  if (local == connections_.end()) return;
  if (const auto& line = lines.line()) local->second->send(*line);
}

void TarnMacHostService::acceptPendingConnections(TarnHostListener* listener) {
  while (QTcpSocket* socket = listener->nextPendingConnection()) accept(socket);
}

void TarnMacHostService::accept(QTcpSocket* socket) {
  if (unpairedConnectionCount() >= environment_.limits.maxUnpairedConnections) {
    qCDebug(tarnHostLog) << "refused" << socket->peerAddress() << "- too many unpaired connections";
    socket->abort();
    socket->deleteLater();
    return;
  }
  const TarnUUID connectionID = TarnUUID::random();
  qCDebug(tarnHostLog) << "accepted" << socket->peerAddress() << "as" << connectionID.uuidString().c_str();
  TarnLocalConnection::Handlers handlers{
      [this](const TarnUUID& id, const TarnWireEnvelope& envelope) { handle(envelope, id); },
      [this](const TarnUUID& id) { connectionEnded(id); },
      [this](const TarnUUID& id) { connectionIdle(id); },
  };
  connections_[connectionID] =
      new TarnLocalConnection(socket, connectionID, environment_.limits, std::move(handlers), this);
  send(TarnWireEnvelope::carrying(identity_.hello()), connectionID);
}

void TarnMacHostService::handle(const TarnWireEnvelope& envelope, const TarnUUID& connectionID) {
  switch (envelope.kind) {
    case TarnWireKind::pairRequest:
      if (envelope.pairRequest) pairing_.handlePairRequest(*envelope.pairRequest, connectionID);
      break;
    case TarnWireKind::command:
      if (envelope.command) handleCommand(*envelope.command, connectionID);
      break;
    case TarnWireKind::sessionEnded:
      stopSessionKeepAwake();
      reportEvent(QStringLiteral("Remote session ended"), QStringLiteral("The iPhone ended the local peer session."),
                  QStringLiteral("pause.circle"));
      break;
    case TarnWireKind::hostTokenGrant:
      handleHostTokenGrant(envelope, connectionID);
      break;
    default:
      break;
  }
}

void TarnMacHostService::handleCommand(const TarnWireCommand& command, const TarnUUID& connectionID) {
  if (!pairing_.isPaired(connectionID)) {
    refuseUnpaired(connectionID);
    return;
  }
  if (dispatcher_.dispatch(command, connectionID)) return;
  if (callbacks_.onCommand) callbacks_.onCommand(command, pairing_.pairedDevice(connectionID));
}

void TarnMacHostService::handleHostTokenGrant(const TarnWireEnvelope& envelope, const TarnUUID& connectionID) {
  // The token signs this host in to the internet service: only a paired device may hand one over.
  if (!pairing_.isPaired(connectionID)) {
    refuseUnpaired(connectionID);
    return;
  }
  if (envelope.hostToken && !envelope.hostToken->empty() && callbacks_.onHostTokenGranted) {
    callbacks_.onHostTokenGranted(QString::fromStdString(*envelope.hostToken));
  }
}

void TarnMacHostService::refuseUnpaired(const TarnUUID& connectionID) {
  send(TarnWireEnvelope::error("Pair this device on the Mac before controlling it."), connectionID);
}

void TarnMacHostService::connectionEnded(const TarnUUID& connectionID) {
  const auto ended = connections_.find(connectionID);
  if (ended == connections_.end()) return;
  qCDebug(tarnHostLog) << "ended" << connectionID.uuidString().c_str();
  ended->second->deleteLater();
  connections_.erase(ended);
  clientGone(connectionID);
}

void TarnMacHostService::connectionIdle(const TarnUUID& connectionID) {
  const auto idle = connections_.find(connectionID);
  if (idle == connections_.end() || pairing_.isPaired(connectionID)) return;
  // The local user may take a while to answer a waiting request.
  if (pairing_.isWaiting(connectionID)) {
    idle->second->restartIdleTimer();
    return;
  }
  qCDebug(tarnHostLog) << "closed idle unpaired connection" << connectionID.uuidString().c_str();
  idle->second->close(&closingSockets_);
  idle->second->deleteLater();
  connections_.erase(idle);
  clientGone(connectionID);
}

std::vector<TarnUUID> TarnMacHostService::closeLocalConnections() {
  std::vector<TarnUUID> closed;
  for (const auto& [connectionID, connection] : connections_) {
    connection->close(&closingSockets_);
    connection->deleteLater();
    closed.push_back(connectionID);
  }
  connections_.clear();
  return closed;
}

void TarnMacHostService::clientGone(const TarnUUID& connectionID) {
  pairing_.forget(connectionID);
  dispatcher_.forEachUnit([&](TarnHostUnit& unit) { unit.clientDeparted(connectionID); });
}

void TarnMacHostService::setAdvertising(bool advertising) {
  if (callbacks_.onAdvertisingChanged) callbacks_.onAdvertisingChanged(advertising);
}

void TarnMacHostService::stopSessionKeepAwake() {
  if (callbacks_.stopSessionKeepAwake) callbacks_.stopSessionKeepAwake();
}

std::size_t TarnMacHostService::unpairedConnectionCount() const {
  std::size_t count = 0;
  for (const auto& [connectionID, connection] : connections_) {
    if (!pairing_.isPaired(connectionID)) ++count;
  }
  return count;
}
