#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <QString>

#include <memory>
#include <optional>

// Short text secrets (tokens) addressed by account name alone.
class TarnKeychain {
public:
  explicit TarnKeychain(std::shared_ptr<TarnSecretStore> store);

  // The secret as text; nothing when missing, unreadable or not valid UTF-8.
  std::optional<QString> get(const QString& account) const;
  // Replaces the account's secret atomically; false when it was not stored,
  // in which case the previous secret is still there.
  bool set(const QString& value, const QString& account);
  // A missing account is no error; false only when the store refused.
  bool remove(const QString& account);

private:
  std::shared_ptr<TarnSecretStore> store_;
};
