#include "platform/keychain/TarnSecretServiceStore.h"

#include "platform/keychain/TarnCallDeadline.h"
#include "platform/keychain/TarnKeychainLog.h"

#include <libsecret/secret.h>

#include <memory>

namespace {

const SecretSchema* secretSchema() {
  static const SecretSchema schema = {
      "app.tarnhold.Secret",
      SECRET_SCHEMA_NONE,
      {{"account", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
      0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &schema;
}

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using CancellablePtr = std::unique_ptr<GCancellable, GObjectUnref>;

// Reports and frees a GLib error; true when there was one.
bool reportError(GError* error, const char* what, const QString& account) {
  if (!error)
    return false;
  qCWarning(tarnKeychainLog) << what << account << "in the Secret Service:" << error->message;
  g_error_free(error);
  return true;
}

} // namespace

TarnSecretServiceStore::TarnSecretServiceStore(std::chrono::milliseconds callLimit) : callLimit_(callLimit) {}

std::optional<QByteArray> TarnSecretServiceStore::read(const QString& account) {
  const CancellablePtr cancellable(g_cancellable_new());
  const TarnCallDeadline deadline(cancellable.get(), callLimit_);
  GError* error = nullptr;
  SecretValue* value = secret_password_lookup_binary_sync(secretSchema(), cancellable.get(), &error, "account",
                                                          account.toUtf8().constData(), nullptr);
  if (reportError(error, "cannot read", account) || !value)
    return std::nullopt;
  gsize length = 0;
  const gchar* bytes = secret_value_get(value, &length);
  QByteArray secret(bytes, qsizetype(length));
  secret_value_unref(value);
  return secret;
}

bool TarnSecretServiceStore::write(const QString& account, const QByteArray& secret) {
  const CancellablePtr cancellable(g_cancellable_new());
  const TarnCallDeadline deadline(cancellable.get(), callLimit_);
  SecretValue* value = secret_value_new(secret.constData(), secret.size(), "application/octet-stream");
  const QByteArray label = QStringLiteral("Tarnhold: %1").arg(account).toUtf8();
  GError* error = nullptr;
  const gboolean stored =
      secret_password_store_binary_sync(secretSchema(), SECRET_COLLECTION_DEFAULT, label.constData(), value,
                                        cancellable.get(), &error, "account", account.toUtf8().constData(), nullptr);
  secret_value_unref(value);
  return !reportError(error, "cannot store", account) && stored;
}

bool TarnSecretServiceStore::erase(const QString& account) {
  const CancellablePtr cancellable(g_cancellable_new());
  const TarnCallDeadline deadline(cancellable.get(), callLimit_);
  GError* error = nullptr;
  // False without an error means there was nothing to remove.
  secret_password_clear_sync(secretSchema(), cancellable.get(), &error, "account", account.toUtf8().constData(),
                             nullptr);
  return !reportError(error, "cannot remove", account);
}
