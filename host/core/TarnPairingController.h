#pragma once

#include "host/core/TarnHostUnit.h"
#include "model/TarnModels.h"

#include <optional>
#include <unordered_map>
#include <vector>

struct TarnHostCallbacks;
struct TarnHostIdentity;
class TarnTrustTokenStore;

// What pairing needs of the service that owns the connections.
class TarnPairingHost {
public:
  virtual ~TarnPairingHost() = default;
  virtual void send(const TarnWireEnvelope& envelope, const TarnUUID& toClientID) = 0;
  virtual bool canReach(const TarnUUID& connectionID) const = 0;
  virtual void clientAccepted(const TarnUUID& connectionID) = 0;
};

// The pairing state of every connection: requests waiting for the local user and the
// devices accepted by code and approval or by trust token.
class TarnPairingController {
public:
  TarnPairingController(TarnPairingHost& host, const TarnHostIdentity& identity, const TarnHostCallbacks& callbacks,
                        TarnTrustTokenStore& tokens);

  void handlePairRequest(const TarnWirePairRequest& request, const TarnUUID& connectionID);
  void approve(const TarnUUID& connectionID);
  void reject(const TarnUUID& connectionID);

  std::optional<TarnDevice> pairedDevice(const TarnUUID& connectionID) const;
  bool isPaired(const TarnUUID& connectionID) const { return paired_.contains(connectionID); }
  bool isWaiting(const TarnUUID& connectionID) const { return pending_.contains(connectionID); }
  std::vector<TarnUUID> pairedConnections(TarnClientAudience audience) const;

  // The connection is gone: it is neither paired nor waiting any more.
  void forget(const TarnUUID& connectionID);
  // Every connection becomes unpaired; every waiting request is withdrawn.
  void clear();

private:
  enum class Acceptance { approvedByUser, trustedReconnect };

  void accept(const TarnWirePairRequest& request, const TarnUUID& connectionID, Acceptance acceptance);
  void removePending(const TarnUUID& connectionID);
  void removePendingOfDevice(const TarnUUID& clientID, const TarnUUID& keptConnectionID);
  void refuse(const TarnUUID& connectionID, const QString& message);
  void report(const QString& title, const QString& detail, const QString& symbol) const;

  TarnPairingHost& host_;
  const TarnHostIdentity& identity_;
  const TarnHostCallbacks& callbacks_;
  TarnTrustTokenStore& tokens_;
  std::unordered_map<TarnUUID, TarnDevice> paired_;
  std::unordered_map<TarnUUID, TarnWirePairRequest> pending_;
};
