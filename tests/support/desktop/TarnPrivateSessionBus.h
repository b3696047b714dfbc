#pragma once
#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A dbus-daemon of our own for one test, stopped by its PID when the object goes.
class TarnPrivateSessionBus {
public:
  TarnPrivateSessionBus();
  ~TarnPrivateSessionBus();

  bool isRunning() const { return !address_.isEmpty(); }
  const QString& address() const { return address_; }
  // A new connection under `name`, disconnected again when the bus object goes.
  QDBusConnection connect(const QString& name);

private:
  QTemporaryDir folder_;
  QProcess daemon_;
  QString address_;
  QStringList connectionNames_;
};
