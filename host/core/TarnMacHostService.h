#pragma once

#include "host/core/TarnCommandDispatcher.h"
#include "host/core/TarnConnectionLimits.h"
#include "host/core/TarnHostCallbacks.h"
#include "host/core/TarnHostIdentity.h"
#include "host/core/TarnHostListener.h"
#include "host/core/TarnHostUnit.h"
#include "host/core/TarnPairingController.h"
#include "host/core/TarnTrustTokenStore.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <unordered_map>

class QSettings;
class QTcpSocket;
class TarnKeychain;
class TarnLocalConnection;
class TarnServiceAdvertiser;

// Delivers envelopes to one internet client; its encoding for the data channel is the owner's.
using TarnWanResponder = std::function<void(const TarnWireEnvelope&)>;
using TarnAdvertiserFactory = std::function<std::unique_ptr<TarnServiceAdvertiser>()>;

// Where the service keeps what outlives it, and how it reaches the network.
struct TarnHostEnvironment {
  std::shared_ptr<TarnKeychain> keychain;
  QSettings* defaults = nullptr;
  TarnAdvertiserFactory makeAdvertiser;
  TarnListenEndpoint endpoint;
  TarnConnectionLimits limits;
};

// The host side of the control channel: the listener and its advertisement, local
// connections and internet clients, pairing, and the routing of envelopes to the
// units that carry out commands. Lives on the main thread.
class TarnMacHostService final : public QObject, public TarnHostContext, private TarnPairingHost {
public:
  TarnMacHostService(const QString& hostName, const QString& displayName, TarnHostCallbacks callbacks,
                     TarnHostEnvironment environment, QObject* parent = nullptr);
  ~TarnMacHostService() override;

  void addUnit(std::unique_ptr<TarnHostUnit> unit);
  void setOnHostTokenGranted(std::function<void(const QString&)> callback);

  void start();
  void stop();
  void endSession();

  void approvePairingRequest(const TarnUUID& connectionID);
  void rejectPairingRequest(const TarnUUID& connectionID);

  void attachWANClient(const TarnUUID& connectionID, TarnWanResponder respond);
  void ingestWAN(const TarnWireEnvelope& envelope, const TarnUUID& fromClientID);
  void detachWANClient(const TarnUUID& connectionID);

  void sendToAll(const TarnWireEnvelope& envelope);
  void sendToPairedDevices(const TarnWireEnvelope& envelope);

  const TarnUUID& hostDeviceID() const { return identity_.hostID; }
  const TarnHostIdentity& identity() const { return identity_; }
  // The bound port while listening, else 0.
  quint16 listeningPort() const;

  // TarnHostContext
  void send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) override;
  void sendToClients(const TarnWireEnvelope& envelope, TarnClientAudience audience) override;
  std::vector<TarnUUID> clientIDs(TarnClientAudience audience) const override;
  void reportEvent(const QString& title, const QString& detail, const QString& symbol) override;
  QObject* lifetimeObject() override { return this; }

private:
  // TarnPairingHost
  bool canReach(const TarnUUID& connectionID) const override;
  void clientAccepted(const TarnUUID& connectionID) override;

  void acceptPendingConnections(TarnHostListener* listener);
  void accept(QTcpSocket* socket);
  void handle(const TarnWireEnvelope& envelope, const TarnUUID& connectionID);
  void handleCommand(const TarnWireCommand& command, const TarnUUID& connectionID);
  void handleHostTokenGrant(const TarnWireEnvelope& envelope, const TarnUUID& connectionID);
  void connectionEnded(const TarnUUID& connectionID);
  void connectionIdle(const TarnUUID& connectionID);
  void refuseUnpaired(const TarnUUID& connectionID);
  class LineCache;
  void deliver(const TarnWireEnvelope& envelope, const TarnUUID& connectionID, LineCache& lines);
  // Closes every local connection, letting queued lines reach their peers first.
  std::vector<TarnUUID> closeLocalConnections();
  void clientGone(const TarnUUID& connectionID);
  void setAdvertising(bool advertising);
  void stopSessionKeepAwake();
  std::size_t unpairedConnectionCount() const;

  TarnHostCallbacks callbacks_;
  TarnHostEnvironment environment_;
  TarnHostIdentity identity_;
  TarnTrustTokenStore tokens_;
  TarnPairingController pairing_;
  std::unique_ptr<TarnHostListener> listener_;
  std::unordered_map<TarnUUID, TarnLocalConnection*> connections_;
  std::unordered_map<TarnUUID, TarnWanResponder> wanResponders_;
  // Parent of sockets that are flushing their last lines before they close.
  QObject closingSockets_;
  // Last, so units go first and may still reach the service while they wind down.
  TarnCommandDispatcher dispatcher_;
};
