#include "tests/support/services/TarnKeyringEnvironment.h"

namespace {
// Linked in (and so registered) only by programs that use it.
const auto* const registration = testing::AddGlobalTestEnvironment(new TarnKeyringEnvironment);
} // namespace

const TarnPrivateKeyring& TarnKeyringEnvironment::keyring() {
  std::unique_ptr<TarnPrivateKeyring>& keyring = running();
  if (!keyring)
    keyring = std::make_unique<TarnPrivateKeyring>();
  return *keyring;
}

void TarnKeyringEnvironment::TearDown() { running().reset(); }

std::unique_ptr<TarnPrivateKeyring>& TarnKeyringEnvironment::running() {
  static std::unique_ptr<TarnPrivateKeyring> keyring;
  return keyring;
}
