#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A place that keeps small secrets, one per account name.
class TarnSecretStore {
public:
  virtual ~TarnSecretStore() = default;

  // The stored secret; nothing when there is none or it cannot be read.
  virtual std::optional<QByteArray> read(const QString& account) = 0;
  // Replaces the account's secret in one step: on failure the old secret stays.
  virtual bool write(const QString& account, const QByteArray& secret) = 0;
  // True when no secret remains under the account (a missing one included).
  virtual bool erase(const QString& account) = 0;
};
