#pragma once

#include "model/TarnDate.h"
#include "model/TarnLocalNetwork.h"
#include "model/TarnUUID.h"

#include <cstdint>
#include <optional>
#include <string>

// The host's greeting on a new local connection.
struct TarnWireHello {
  TarnUUID hostID{};
  std::string hostName{};
  std::string displayName{};
  std::int64_t protocolVersion = TarnLocalNetwork::protocolVersion;
  std::optional<std::string> hostModel{};

  bool operator==(const TarnWireHello&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("hostID", self.hostID);
    visit("hostName", self.hostName);
    visit("displayName", self.displayName);
    visit("protocolVersion", self.protocolVersion);
    visit("hostModel", self.hostModel);
  }
};

// A client's request to pair, with the code it was shown or a token from an earlier pairing.
struct TarnWirePairRequest {
  TarnUUID clientID{};
  std::string clientName{};
  std::string clientModel{};
  std::string pairingCode{};
  std::optional<std::string> trustToken{};

  bool operator==(const TarnWirePairRequest&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("clientID", self.clientID);
    visit("clientName", self.clientName);
    visit("clientModel", self.clientModel);
    visit("pairingCode", self.pairingCode);
    visit("trustToken", self.trustToken);
  }
};

struct TarnWirePairResult {
  bool accepted = false;
  std::string message{};
  TarnUUID hostID{};
  std::string hostName{};
  std::string displayName{};
  std::optional<std::string> hostModel{};
  std::int64_t latencyMilliseconds = 0;
  std::optional<std::string> trustToken{};

  bool operator==(const TarnWirePairResult&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("accepted", self.accepted);
    visit("message", self.message);
    visit("hostID", self.hostID);
    visit("hostName", self.hostName);
    visit("displayName", self.displayName);
    visit("hostModel", self.hostModel);
    visit("latencyMilliseconds", self.latencyMilliseconds);
    visit("trustToken", self.trustToken);
  }
};

// A paired client's request. `payload` holds a plain value or the JSON text of a request record.
struct TarnWireCommand {
  TarnUUID id{};
  std::string name{};
  std::string payload{};
  TarnDate createdAt{};

  bool operator==(const TarnWireCommand&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("id", self.id);
    visit("name", self.name);
    visit("payload", self.payload);
    visit("createdAt", self.createdAt);
  }
};
