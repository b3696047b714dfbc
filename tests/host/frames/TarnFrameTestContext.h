#pragma once
#include "host/core/TarnHostUnit.h"

#include <QObject>

#include <memory>

// A host service stand-in that knows which paired clients are watches.
class TarnFrameTestContext : public TarnHostContext {
public:
  struct Sent {
    TarnWireEnvelope envelope;
    TarnUUID clientID;
  };
  struct Event {
    QString title, detail, symbol;
  };

  void send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) override {
    sent.push_back({envelope, toClientID});
  }
  void sendToClients(const TarnWireEnvelope& envelope, TarnClientAudience audience) override {
    for (const TarnUUID& clientID : clientIDs(audience)) sent.push_back({envelope, clientID});
  }
  std::vector<TarnUUID> clientIDs(TarnClientAudience audience) const override {
    std::vector<TarnUUID> result = phones;
    if (audience == TarnClientAudience::allPaired) result.insert(result.end(), watches.begin(), watches.end());
    return result;
  }
  void reportEvent(const QString& title, const QString& detail, const QString& symbol) override {
    events.push_back({title, detail, symbol});
  }
  QObject* lifetimeObject() override { return lifetime.get(); }

  std::vector<TarnUUID> phones;   // paired, not watches
  std::vector<TarnUUID> watches;  // paired watches
  std::vector<Sent> sent;
  std::vector<Event> events;
  std::unique_ptr<QObject> lifetime = std::make_unique<QObject>();
};
