#include "model/TarnLocalNetwork.h"

namespace TarnLocalNetwork {

TXTRecord hostTXTRecord(const TarnUUID& hostID, std::string_view hostName,
                        std::string_view displayName, std::string_view hostModel) {
  return {
      {"hostID", hostID.uuidString()},
      {"hostName", std::string(hostName)},
      {"displayName", std::string(displayName)},
      {"hostModel", std::string(hostModel)},
      {"version", std::to_string(protocolVersion)},
  };
}

} // namespace TarnLocalNetwork
