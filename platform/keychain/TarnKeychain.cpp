#include "platform/keychain/TarnKeychain.h"

#include "platform/keychain/TarnKeychainLog.h"

#include <QStringDecoder>

TarnKeychain::TarnKeychain(std::shared_ptr<TarnSecretStore> store) : store_(std::move(store)) {}

std::optional<QString> TarnKeychain::get(const QString& account) const {
  const std::optional<QByteArray> bytes = store_->read(account);
  if (!bytes)
    return std::nullopt;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(*bytes);
  if (decoder.hasError()) {
    qCWarning(tarnKeychainLog) << "secret of" << account << "is not UTF-8 text";
    return std::nullopt;
  }
  return text;
}

bool TarnKeychain::set(const QString& value, const QString& account) {
  if (store_->write(account, value.toUtf8()))
    return true;
  qCWarning(tarnKeychainLog) << "could not store the secret of" << account;
  return false;
}

bool TarnKeychain::remove(const QString& account) {
  if (store_->erase(account))
    return true;
  qCWarning(tarnKeychainLog) << "could not remove the secret of" << account;
  return false;
}
