#include "platform/keychain/TarnDefaultSecretStore.h"

#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnKeychainLog.h"
#include "platform/keychain/TarnSecretServiceStore.h"

#include <gio/gio.h>

#include <QByteArray>
#include <QFileInfo>

namespace {

constexpr int callLimitMilliseconds = 2000;

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

// Asks the Secret Service (which the bus starts when it can) for its
// default collection. A service without one, as on a machine where nobody
// logged in to a desktop, could only fail or prompt on every write.
bool secretServiceHasDefaultCollection() {
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
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.secrets", "/org/freedesktop/secrets", "org.freedesktop.Secret.Service", "ReadAlias",
      g_variant_new("(s)", "default"), G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, callLimitMilliseconds, nullptr,
      &error);
  bool hasCollection = false;
  if (reply) {
    const gchar* path = nullptr;
    g_variant_get(reply, "(&o)", &path);
    hasCollection = g_strcmp0(path, "/") != 0; // "/" means no such alias
    if (!hasCollection)
      qCInfo(tarnKeychainLog) << "the Secret Service has no default collection";
    g_variant_unref(reply);
  } else {
    qCInfo(tarnKeychainLog) << "no Secret Service:" << error->message;
    g_error_free(error);
  }
  g_dbus_connection_close_sync(bus, nullptr, nullptr);
  g_object_unref(bus);
  return hasCollection;
}

} // namespace

std::shared_ptr<TarnSecretStore> makeDefaultSecretStore() {
  if (secretServiceHasDefaultCollection())
    return std::make_shared<TarnSecretServiceStore>();
  qCInfo(tarnKeychainLog) << "keeping secrets in" << TarnFileSecretStore::defaultFolder();
  return std::make_shared<TarnFileSecretStore>();
}
