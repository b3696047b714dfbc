#include "platform/logind/TarnLogindClient.h"

#include <QDBusMessage>
#include <QDBusReply>

namespace {
const QString service = QStringLiteral("org.freedesktop.login1");
const QString path = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
// logind answers at once even for power changes; a silent bus must not hold the caller long.
constexpr int callTimeoutMs = 5000;
// No one sits at the machine to answer a polkit prompt for a remote request.
constexpr bool interactive = false;
}  // namespace

TarnLogindClient::TarnLogindClient(QDBusConnection bus, QString sessionID)
    : bus_(std::move(bus)), sessionID_(std::move(sessionID)) {}

TarnLogindClient TarnLogindClient::forCurrentSession() {
  return TarnLogindClient(QDBusConnection::systemBus(), qEnvironmentVariable("XDG_SESSION_ID"));
}

bool TarnLogindClient::call(const QString& method, const QVariantList& arguments) {
  if (!bus_.isConnected()) return false;
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, managerInterface, method);
  message.setArguments(arguments);
  return bus_.call(message, QDBus::Block, callTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

// logind reads an empty session name as the session of the calling process.
bool TarnLogindClient::lockSession() { return call(QStringLiteral("LockSession"), {sessionID_}); }

bool TarnLogindClient::terminateSession() { return call(QStringLiteral("TerminateSession"), {sessionID_}); }

bool TarnLogindClient::suspend() { return call(QStringLiteral("Suspend"), {interactive}); }

bool TarnLogindClient::reboot() { return call(QStringLiteral("Reboot"), {interactive}); }

bool TarnLogindClient::powerOff() { return call(QStringLiteral("PowerOff"), {interactive}); }

std::unique_ptr<TarnSleepInhibitor> TarnLogindClient::inhibit(TarnInhibitScope scope, const QString& who,
                                                              const QString& why) {
  if (!bus_.isConnected()) return nullptr;
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, managerInterface, QStringLiteral("Inhibit"));
  QString what = scope == TarnInhibitScope::sleepAndIdle ? QStringLiteral("sleep:idle") : QStringLiteral("sleep");
  message.setArguments({what, who, why, QStringLiteral("block")});
  QDBusReply<QDBusUnixFileDescriptor> reply = bus_.call(message, QDBus::Block, callTimeoutMs);
  if (!reply.isValid() || !reply.value().isValid()) return nullptr;
  return std::make_unique<TarnSleepInhibitor>(reply.value());
}
