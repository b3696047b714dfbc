#pragma once

#include "host/core/TarnConnectionLimits.h"
#include "model/TarnModels.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

class QTcpSocket;

// One client on the local network: reads its lines, decodes them into envelopes and
// writes lines back. The service decides what the envelopes mean.
class TarnLocalConnection : public QObject {
public:
  struct Handlers {
    std::function<void(const TarnUUID&, const TarnWireEnvelope&)> envelopeReceived;
    // The peer left, the socket failed or too much arrived without a line end.
    std::function<void(const TarnUUID&)> ended;
    // Nothing arrived for the unpaired idle time.
    std::function<void(const TarnUUID&)> idle;
  };

  TarnLocalConnection(QTcpSocket* socket, const TarnUUID& id, const TarnConnectionLimits& limits,
                      Handlers handlers, QObject* parent);
  ~TarnLocalConnection() override;

  const TarnUUID& id() const { return id_; }
  bool isOpen() const { return socket_ != nullptr; }

  void send(const std::string& line);
  // Paired peers may send large lines and may stay quiet.
  void markPaired();
  void restartIdleTimer();
  // Stops reading and lets what was written reach the peer before the socket closes.
  // Calls no handler.
  void close(QObject* lingerParent);

private:
  void readAvailable();
  void handlePeerGone();
  void finish();

  QTcpSocket* socket_;
  TarnUUID id_;
  TarnConnectionLimits limits_;
  Handlers handlers_;
  TarnWireLineDecoder decoder_;
  QTimer idleTimer_;
  bool droppingForBacklog_ = false;
};
