#include "model/TarnDeviceModels.h"

std::string_view title(TarnTrustLevel level) {
  static constexpr std::array<std::string_view, 3> titles = {"Owner", "Allowed", "Pending"};
  return titles[static_cast<std::size_t>(level)];
}

std::string_view title(TarnPermissionState state) {
  static constexpr std::array<std::string_view, 3> titles = {"Ready", "Review", "Missing"};
  return titles[static_cast<std::size_t>(state)];
}

TarnDevice TarnDevice::discoveredHost(const TarnUUID& id, std::string name,
                                      std::optional<std::string> model, std::string address) {
  return {
      .id = id,
      .name = std::move(name),
      .model = model ? std::move(*model) : std::string(defaultHostModel),
      .address = std::move(address),
      .lastSeen = TarnDate::now(),
      .trustLevel = TarnTrustLevel::pending,
      .batteryLevel = std::nullopt,
      .isCurrentHost = true,
  };
}
