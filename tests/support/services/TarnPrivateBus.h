#pragma once

#include "tests/support/services/TarnTestDaemon.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

// A dbus-daemon of the test's own, listening on a socket in a given folder.
// The system kind stands in for the system bus (avahi-daemon and its
// clients find it through DBUS_SYSTEM_BUS_ADDRESS); the machine's own
// /run/dbus is never touched.
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
