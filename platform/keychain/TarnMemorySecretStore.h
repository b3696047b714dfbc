#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <QHash>

// Keeps secrets in memory only; a test can make its writes fail.
class TarnMemorySecretStore final : public TarnSecretStore {
public:
  enum class WriteOutcome { succeed, fail };

  std::optional<QByteArray> read(const QString& account) override;
  bool write(const QString& account, const QByteArray& secret) override;
  bool erase(const QString& account) override;

  void setWriteOutcome(WriteOutcome outcome) { writeOutcome_ = outcome; }
  const QHash<QString, QByteArray>& secrets() const { return secrets_; }

private:
  QHash<QString, QByteArray> secrets_;
  WriteOutcome writeOutcome_ = WriteOutcome::succeed;
};
