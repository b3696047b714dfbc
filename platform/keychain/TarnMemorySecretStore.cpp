#include "platform/keychain/TarnMemorySecretStore.h"

std::optional<QByteArray> TarnMemorySecretStore::read(const QString& account) {
  const auto found = secrets_.constFind(account);
  if (found == secrets_.constEnd())
    return std::nullopt;
  return *found;
}

bool TarnMemorySecretStore::write(const QString& account, const QByteArray& secret) {
  if (writeOutcome_ == WriteOutcome::fail)
    return false;
  secrets_.insert(account, secret);
  return true;
}

bool TarnMemorySecretStore::erase(const QString& account) {
  if (writeOutcome_ == WriteOutcome::fail && secrets_.contains(account))
    return false;
  secrets_.remove(account);
  return true;
}
