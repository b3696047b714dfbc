#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <QJsonObject>
#include <QString>

// Secrets in one file of a private folder, for machines without a Secret
// Service. Every change is written to a temporary file, flushed to disk and
// renamed over the old one, so a failed write leaves the old file whole.
class TarnFileSecretStore final : public TarnSecretStore {
public:
  explicit TarnFileSecretStore(QString folder = defaultFolder());

  // $XDG_DATA_HOME/tarnhold (~/.local/share/tarnhold by default).
  static QString defaultFolder();
  QString filePath() const;

  std::optional<QByteArray> read(const QString& account) override;
  bool write(const QString& account, const QByteArray& secret) override;
  bool erase(const QString& account) override;

private:
  enum class Change { store, erase };
  bool change(Change change, const QString& account, const QByteArray& secret);
  // Nothing when the file exists but cannot be read; an empty object when it does not exist.
  std::optional<QJsonObject> load() const;
  bool save(const QJsonObject& secrets) const;
  bool preparePrivateFolder() const;

  QString folder_;
};
