#include "tests/support/desktop/TarnPrivateSessionBus.h"

TarnPrivateSessionBus::TarnPrivateSessionBus() {
  daemon_.setProgram(QStringLiteral("dbus-daemon"));
  daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                        QStringLiteral("--address=unix:path=") + folder_.filePath(QStringLiteral("bus")),
                        QStringLiteral("--print-address=1")});
  daemon_.start();
  if (!daemon_.waitForStarted(5000)) {
    return;
  }
  while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
  }
  address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

TarnPrivateSessionBus::~TarnPrivateSessionBus() {
  for (const QString& name : connectionNames_) {
    QDBusConnection::disconnectFromBus(name);
  }
  if (daemon_.state() != QProcess::NotRunning) {
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }
}

QDBusConnection TarnPrivateSessionBus::connect(const QString& name) {
  connectionNames_.append(name);
  return QDBusConnection::connectToBus(address_, name);
}
