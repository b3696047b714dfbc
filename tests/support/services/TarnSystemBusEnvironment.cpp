#include "tests/support/services/TarnSystemBusEnvironment.h"

namespace {
// Linked in (and so registered) only by programs that use it.
const auto* const registration = testing::AddGlobalTestEnvironment(new TarnSystemBusEnvironment);
} // namespace

const TarnPrivateBus& TarnSystemBusEnvironment::bus() {
  std::unique_ptr<Running>& state = running();
  if (!state) {
    state = std::make_unique<Running>();
    state->bus = std::make_unique<TarnPrivateBus>(TarnPrivateBus::Kind::system, state->folder.path());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", state->bus->address());
  }
  return *state->bus;
}

void TarnSystemBusEnvironment::TearDown() { running().reset(); }

std::unique_ptr<TarnSystemBusEnvironment::Running>& TarnSystemBusEnvironment::running() {
  static std::unique_ptr<Running> state;
  return state;
}
