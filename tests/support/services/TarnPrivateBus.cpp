#include "tests/support/services/TarnPrivateBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QUuid>

#include <stdexcept>

namespace {

// A bus that starts nothing by activation (the tests start the services
// they want, and a call to any other name fails at once), lets everyone
// own and call every name, and keeps running as the user who started it,
// so it dies with the test. The address given on the command line
// replaces the <listen> below.
constexpr const char* configurationTemplate = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>%1</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

TarnPrivateBus::TarnPrivateBus(Kind kind, const QString& folder) {
  const QString type = kind == Kind::session ? QStringLiteral("session") : QStringLiteral("system");
  QFile configuration(folder + QStringLiteral("/%1-bus.conf").arg(type));
  if (!configuration.open(QIODevice::WriteOnly) ||
      configuration.write(QString::fromLatin1(configurationTemplate).arg(type).toUtf8()) < 0)
    throw std::runtime_error("cannot write the bus configuration");
  configuration.close();
  const QStringList arguments = {
      QStringLiteral("--config-file=") + configuration.fileName(),
      QStringLiteral("--nofork"),
      QStringLiteral("--nopidfile"),
      QStringLiteral("--address=unix:path=%1/%2_bus").arg(folder, type),
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
