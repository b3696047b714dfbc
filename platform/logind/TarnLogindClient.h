#pragma once
#include "platform/logind/TarnSleepInhibitor.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

enum class TarnInhibitScope { sleepOnly, sleepAndIdle };

// Session and power requests to systemd-logind (org.freedesktop.login1). Each request
// waits for logind's answer, so the caller learns whether it was taken.
class TarnLogindClient {
public:
  // `bus` is the system bus in the program and a private bus with a stand-in in tests.
  // `sessionID` names the session to lock or end; empty means the caller's own.
  TarnLogindClient(QDBusConnection bus, QString sessionID);
  // The system bus and the session of XDG_SESSION_ID.
  static TarnLogindClient forCurrentSession();

  bool lockSession();
  bool terminateSession();
  bool suspend();
  bool reboot();
  bool powerOff();
  // Holds off sleep (and idle) until the returned object goes; null when refused.
  std::unique_ptr<TarnSleepInhibitor> inhibit(TarnInhibitScope scope, const QString& who, const QString& why);

private:
  bool call(const QString& method, const QVariantList& arguments);

  QDBusConnection bus_;
  QString sessionID_;
};
