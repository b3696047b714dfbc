#include "tests/support/services/TarnSystemBusEnvironment.h"

namespace {
// Linked in (and so registered) only by programs that use it.
const auto* const registration = testing::AddGlobalTestEnvironment(new TarnSystemBusEnvironment);
} // namespace

#include <QFile>

const TarnPrivateBus& TarnSystemBusEnvironment::bus() {
  std::unique_ptr<Running>& state = running();
  if (!state) {
    state = std::make_unique<Running>();
    // The bus drops root for its own user, which must still reach its socket.
    QFile::setPermissions(state->folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                    QFile::ExeOther);
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
