#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <chrono>

// Secrets as items of the desktop's Secret Service (GNOME Keyring, KWallet)
// in its default collection, under a schema of our own keyed by account.
// Calls are synchronous and each one is cancelled after callLimit, so a
// hung service (or an unlock prompt nobody answers) holds the calling
// thread for at most that long; a healthy one answers in milliseconds.
class TarnSecretServiceStore final : public TarnSecretStore {
public:
  explicit TarnSecretServiceStore(std::chrono::milliseconds callLimit = std::chrono::seconds(3));

  std::optional<QByteArray> read(const QString& account) override;
  // The service replaces an item with the same attributes in one step.
  bool write(const QString& account, const QByteArray& secret) override;
  bool erase(const QString& account) override;

private:
  std::chrono::milliseconds callLimit_;
};
