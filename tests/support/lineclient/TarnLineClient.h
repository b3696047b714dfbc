#pragma once

#include "model/TarnModels.h"

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A client of the line protocol over loopback TCP, for tests and benchmarks.
class TarnLineClient : public QObject {
public:
  static constexpr std::chrono::milliseconds defaultWait{5000};

  explicit TarnLineClient(QObject* parent = nullptr);

  bool connectTo(quint16 port, std::chrono::milliseconds wait = defaultWait);
  void send(const TarnWireEnvelope& envelope);
  void sendRaw(const QByteArray& bytes);
  void sendCommand(const std::string& name, const std::string& payload = {});
  void sendPairRequest(const TarnWirePairRequest& request);
  // Closes the sending side only; the host may still answer.
  void finishSending();
  void disconnectNow();

  // Waits until `count` envelopes arrived in all.
  bool waitForEnvelopes(std::size_t count, std::chrono::milliseconds wait = defaultWait);
  // The next envelope not yet taken with this call, waiting for it if needed.
  std::optional<TarnWireEnvelope> next(std::chrono::milliseconds wait = defaultWait);
  // The next envelope of this kind; those of other kinds before it are skipped.
  std::optional<TarnWireEnvelope> nextOfKind(TarnWireKind kind, std::chrono::milliseconds wait = defaultWait);
  bool waitForDisconnected(std::chrono::milliseconds wait = defaultWait);

  const std::vector<TarnWireEnvelope>& received() const { return received_; }
  bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
  QTcpSocket& socket() { return socket_; }

private:
  void readAvailable();

  QTcpSocket socket_;
  TarnWireLineDecoder decoder_;
  std::vector<TarnWireEnvelope> received_;
  std::size_t taken_ = 0;
};

// A pairing request of a phone (or any model) with sensible defaults.
TarnWirePairRequest makePairRequest(const std::string& code, const TarnUUID& clientID = TarnUUID::random(),
                                    const std::string& model = "iPhone", const std::string& name = "Test Phone");
