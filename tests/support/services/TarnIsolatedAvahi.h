#pragma once

#include "tests/support/services/TarnPrivateBus.h"
#include "tests/support/services/TarnTestDaemon.h"

#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <map>
#include <memory>
#include <optional>

// One service as avahi-browse resolved it.
struct TarnBrowsedService {
  QString name;
  quint16 port = 0;
  std::map<QString, QString> txt;
};

// A private system bus with avahi-daemon on it, the daemon in network and
// mount namespaces of its own (loopback only, private /run). Sets this
// process's DBUS_SYSTEM_BUS_ADDRESS to that bus, so avahi clients made
// afterwards talk to this daemon. Needs root.
class TarnIsolatedAvahi {
public:
  enum class Start { now, later };

  explicit TarnIsolatedAvahi(Start start = Start::now);
  ~TarnIsolatedAvahi();

  void startDaemon();
  void stopDaemon();
  const QByteArray& busAddress() const { return bus_->address(); }

  // Every _tarnhold._tcp service the daemon knows and can resolve now.
  std::vector<TarnBrowsedService> browse() const;
  // Browses until a service of that name shows up, or the limit passes.
  std::optional<TarnBrowsedService> waitForService(const QString& name, std::chrono::milliseconds limit) const;
  // Browses until no service of that name is left; false when it stays.
  bool waitForServiceGone(const QString& name, std::chrono::milliseconds limit) const;

private:
  QTemporaryDir folder_;
  QByteArray previousAddress_;
  std::unique_ptr<TarnPrivateBus> bus_;
  std::unique_ptr<TarnTestDaemon> avahi_;
};
