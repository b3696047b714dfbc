#pragma once

#include "tests/support/services/TarnTestDaemon.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

// A dbus-daemon of the test's own, listening on a socket in a given folder.
// The system kind loads the system policy (what avahi-daemon expects)
// without touching the machine's /run/dbus.
class TarnPrivateBus {
public:
  enum class Kind { session, system };

  TarnPrivateBus(Kind kind, const QString& folder);

  const QByteArray& address() const { return address_; }
  // Polls until a name has an owner on this bus; false when time runs out.
  bool waitForName(const QString& name, std::chrono::milliseconds limit) const;

private:
  QByteArray address_;
  std::unique_ptr<TarnTestDaemon> daemon_;
};
