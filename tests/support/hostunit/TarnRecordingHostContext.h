#pragma once
#include "host/core/TarnHostUnit.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

// A host service stand-in for unit tests: records what units send, per client, and report.
class TarnRecordingHostContext : public TarnHostContext {
public:
  struct Sent {
    TarnWireEnvelope envelope;
    TarnUUID clientID;
  };
  struct Event {
    QString title;
    QString detail;
    QString symbol;
  };

  void send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) override {
    sent.push_back({envelope, toClientID});
  }
  void sendToClients(const TarnWireEnvelope& envelope, TarnClientAudience audience) override {
    for (const TarnUUID& clientID : clientIDs(audience)) sent.push_back({envelope, clientID});
  }
  std::vector<TarnUUID> clientIDs(TarnClientAudience audience) const override {
    std::vector<TarnUUID> result = pairedClients;
    if (audience == TarnClientAudience::allPaired)
      result.insert(result.end(), pairedWatches.begin(), pairedWatches.end());
    return result;
  }
  void reportEvent(const QString& title, const QString& detail, const QString& symbol) override {
    events.push_back({title, detail, symbol});
  }
  QObject* lifetimeObject() override { return lifetime.get(); }

  // Ends the service's lifetime, as when the host service is destroyed.
  void endLifetime() { lifetime.reset(); }

  std::vector<Sent> sent;
  std::vector<Event> events;
  std::vector<TarnUUID> pairedClients;  // paired, not watches
  std::vector<TarnUUID> pairedWatches;
  std::unique_ptr<QObject> lifetime = std::make_unique<QObject>();
};
