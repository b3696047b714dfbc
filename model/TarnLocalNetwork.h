#pragma once

#include "model/TarnUUID.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Constants of the advertised local service.
namespace TarnLocalNetwork {

inline constexpr std::string_view serviceType = "_tarnhold._tcp";
inline constexpr std::uint16_t directConnectPort = 52520;
inline constexpr std::int64_t protocolVersion = 1;

using TXTRecord = std::vector<std::pair<std::string, std::string>>;

// The TXT record advertised with the service, keys in a fixed order.
TXTRecord hostTXTRecord(const TarnUUID& hostID, std::string_view hostName,
                        std::string_view displayName, std::string_view hostModel);

} // namespace TarnLocalNetwork
