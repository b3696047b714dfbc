#include "platform/keychain/TarnDefaultSecretStore.h"

#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnKeychainLog.h"
#include "platform/keychain/TarnSecretServiceStore.h"

#include <gio/gio.h>

#include <QByteArray>
#include <QFileInfo>

namespace {

constexpr int pingLimitMilliseconds = 2000;

// The session bus address as GDBus would find it, without ever starting a
// bus (autolaunch) when there is none.
QByteArray sessionBusAddress() {
  const QByteArray fromEnvironment = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (!fromEnvironment.isEmpty())
    return fromEnvironment;
  const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
  if (!runtimeFolder.isEmpty() && QFileInfo::exists(QString::fromLocal8Bit(runtimeFolder + "/bus")))
    return "unix:path=" + runtimeFolder + "/bus";
  return {};
}

// Pings the Secret Service (which starts it when the bus can activate it).
bool secretServiceAnswers() {
  const QByteArray address = sessionBusAddress();
  if (address.isEmpty())
    return false;
  GError* error = nullptr;
  GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
      address.constData(),
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  if (!bus) {
    qCInfo(tarnKeychainLog) << "no session bus:" << error->message;
    g_error_free(error);
    return false;
  }
  GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.secrets", "/org/freedesktop/secrets",
                                                "org.freedesktop.DBus.Peer", "Ping", nullptr, nullptr,
                                                G_DBUS_CALL_FLAGS_NONE, pingLimitMilliseconds, nullptr, &error);
  if (reply) {
    g_variant_unref(reply);
  } else {
    qCInfo(tarnKeychainLog) << "no Secret Service:" << error->message;
    g_error_free(error);
  }
  g_dbus_connection_close_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
  return reply != nullptr;
}

} // namespace

std::shared_ptr<TarnSecretStore> makeDefaultSecretStore() {
  if (secretServiceAnswers())
    return std::make_shared<TarnSecretServiceStore>();
  qCInfo(tarnKeychainLog) << "keeping secrets in" << TarnFileSecretStore::defaultFolder();
  return std::make_shared<TarnFileSecretStore>();
}
