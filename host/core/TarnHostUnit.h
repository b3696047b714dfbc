#pragma once

#include "model/TarnModels.h"

#include <QString>

#include <string>
#include <vector>

class QObject;

// Which paired clients a broadcast reaches.
enum class TarnClientAudience { allPaired, pairedNonWatch };

// What a unit may ask of the host service. Everything runs on the main thread.
class TarnHostContext {
public:
  virtual ~TarnHostContext() = default;
  virtual void send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) = 0;
  virtual void sendToClients(const TarnWireEnvelope& envelope, TarnClientAudience audience) = 0;
  virtual std::vector<TarnUUID> clientIDs(TarnClientAudience audience) const = 0;
  virtual void reportEvent(const QString& title, const QString& detail, const QString& symbol) = 0; // the onEvent callback
  virtual QObject* lifetimeObject() = 0; // guard queued work with QPointer on this
};

// One capability of the host behind the command dispatch.
class TarnHostUnit {
public:
  virtual ~TarnHostUnit() = default;
  virtual std::vector<std::string> commandNames() const = 0;
  virtual void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) = 0; // starts work, replies via the context
  virtual void clientPaired(const TarnUUID&) {}    // a client became paired
  virtual void clientDeparted(const TarnUUID&) {}  // connection closed or internet client detached
  virtual void serviceStarted() {}
  virtual void serviceStopped() {}
  virtual void sessionEnded() {}                   // local End Session
};
