#include "tests/support/services/TarnPrivateBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QUuid>

#include <stdexcept>

namespace {

// A session bus that starts nothing by activation: the tests start the
// services they want, and a call to any other name fails at once. The
// address given on the command line replaces the <listen> below.
constexpr const char* sessionConfiguration = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

TarnPrivateBus::TarnPrivateBus(Kind kind, const QString& folder) {
  QString configuration = QStringLiteral("--system");
  if (kind == Kind::session) {
    QFile file(folder + QStringLiteral("/session-bus.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(sessionConfiguration) < 0)
      throw std::runtime_error("cannot write the session bus configuration");
    configuration = QStringLiteral("--config-file=") + file.fileName();
  }
  const QString socket = folder + (kind == Kind::session ? QStringLiteral("/session_bus") : QStringLiteral("/system_bus"));
  const QStringList arguments = {
      configuration,
      QStringLiteral("--nofork"),
      QStringLiteral("--nopidfile"),
      QStringLiteral("--address=unix:path=") + socket,
      QStringLiteral("--print-address=1"),
  };
  daemon_ = std::make_unique<TarnTestDaemon>(QStringLiteral("dbus-daemon"), arguments,
                                             QProcessEnvironment::systemEnvironment());
  address_ = daemon_->readLine(std::chrono::seconds(10));
}

bool TarnPrivateBus::waitForName(const QString& name, std::chrono::milliseconds limit) const {
  const QString connectionName = QStringLiteral("tarn-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
  bool found = false;
  {
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address_), connectionName);
    const QDeadlineTimer deadline(limit);
    while (bus.isConnected() && !deadline.hasExpired()) {
      if (bus.interface()->isServiceRegistered(name)) {
        found = true;
        break;
      }
      QThread::msleep(20);
    }
  }
  QDBusConnection::disconnectFromBus(connectionName);
  return found;
}
