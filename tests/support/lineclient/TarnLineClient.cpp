#include "tests/support/lineclient/TarnLineClient.h"

#include "tests/support/lineclient/TarnEventWait.h"

#include <sys/socket.h>

TarnLineClient::TarnLineClient(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::readyRead, this, &TarnLineClient::readAvailable);
}

bool TarnLineClient::connectTo(quint16 port, std::chrono::milliseconds wait) {
  socket_.connectToHost(QHostAddress::LocalHost, port);
  return waitUntil([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, wait);
}

void TarnLineClient::send(const TarnWireEnvelope& envelope) {
  const std::string line = TarnWireCodec::encode(envelope);
  sendRaw(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
}

void TarnLineClient::sendRaw(const QByteArray& bytes) {
  socket_.write(bytes);
  socket_.flush();
}

void TarnLineClient::sendCommand(const std::string& name, const std::string& payload) {
  TarnWireCommand command;
  command.id = TarnUUID::random();
  command.name = name;
  command.payload = payload;
  command.createdAt = TarnDate::now().wholeSeconds();
  send(TarnWireEnvelope::carrying(command));
}

void TarnLineClient::sendPairRequest(const TarnWirePairRequest& request) { send(TarnWireEnvelope::carrying(request)); }

void TarnLineClient::finishSending() {
  socket_.flush();
  const qintptr descriptor = socket_.socketDescriptor();
  if (descriptor >= 0) ::shutdown(static_cast<int>(descriptor), SHUT_WR);
}

void TarnLineClient::disconnectNow() { socket_.abort(); }

bool TarnLineClient::waitForEnvelopes(std::size_t count, std::chrono::milliseconds wait) {
  return waitUntil([&] { return received_.size() >= count; }, wait);
}

std::optional<TarnWireEnvelope> TarnLineClient::next(std::chrono::milliseconds wait) {
  if (!waitForEnvelopes(taken_ + 1, wait)) return std::nullopt;
  return received_[taken_++];
}

std::optional<TarnWireEnvelope> TarnLineClient::nextOfKind(TarnWireKind kind, std::chrono::milliseconds wait) {
  while (auto envelope = next(wait)) {
    if (envelope->kind == kind) return envelope;
  }
  return std::nullopt;
}

bool TarnLineClient::waitForDisconnected(std::chrono::milliseconds wait) {
  return waitUntil([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, wait);
}

void TarnLineClient::readAvailable() {
  const QByteArray bytes = socket_.readAll();
  auto result = decoder_.append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  for (auto& envelope : result.envelopes) received_.push_back(std::move(envelope));
}

TarnWirePairRequest makePairRequest(const std::string& code, const TarnUUID& clientID, const std::string& model,
                                    const std::string& name) {
  TarnWirePairRequest request;
  request.clientID = clientID;
  request.clientName = name;
  request.clientModel = model;
  request.pairingCode = code;
  return request;
}
