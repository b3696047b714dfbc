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

// avahi-daemon on a private system bus, in network and mount namespaces of
// its own (loopback only, private /run), so its multicast never leaves the
// test and its fixed paths never meet a daemon of the machine. Needs root.
class TarnIsolatedAvahi {
public:
  enum class Start { now, later };

  TarnIsolatedAvahi(const TarnPrivateBus& systemBus, Start start);
  ~TarnIsolatedAvahi();

  void startDaemon();
  void stopDaemon();

  // Every _tarnhold._tcp service the daemon knows and can resolve now.
  std::vector<TarnBrowsedService> browse() const;
  // Browses until a service of that name shows up, or the limit passes.
  std::optional<TarnBrowsedService> waitForService(const QString& name, std::chrono::milliseconds limit) const;
  // Browses until no service of that name is left; false when it stays.
  bool waitForServiceGone(const QString& name, std::chrono::milliseconds limit) const;

private:
  const TarnPrivateBus& bus_;
  QTemporaryDir folder_;
  std::unique_ptr<TarnTestDaemon> avahi_;
};
