#pragma once

#include "tests/support/services/TarnPrivateBus.h"
#include "tests/support/services/TarnTestDaemon.h"

#include <QTemporaryDir>

#include <memory>

// A private session bus with GNOME Keyring on it, its files in
// a temporary home. Points this process's DBUS_SESSION_BUS_ADDRESS at the
// bus: make it before anything in the process connects to a session bus.
class TarnPrivateKeyring {
public:
  // Whether the daemon creates an unlocked login keyring, which becomes the
  // default collection, or starts with none as on a machine nobody logged in to.
  enum class LoginKeyring { unlocked, none };

  explicit TarnPrivateKeyring(LoginKeyring loginKeyring = LoginKeyring::unlocked);
  ~TarnPrivateKeyring();

  const QByteArray& busAddress() const { return bus_->address(); }

private:
  QTemporaryDir folder_;
  QByteArray previousAddress_;
  std::unique_ptr<TarnPrivateBus> bus_;
  std::unique_ptr<TarnTestDaemon> keyring_;
};
