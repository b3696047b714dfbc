#include "host/core/TarnTrustTokenStore.h"

#include "platform/keychain/TarnKeychain.h"

#include <QSettings>
#include <QVariantMap>

namespace {
const QString legacyTokensKey = QStringLiteral("TarnholdTrustedClientTokens");

// The older dictionary as stored, or nothing when it is missing or no dictionary.
std::optional<QVariantMap> readLegacyEntries(QSettings& defaults) {
  const QVariant stored = defaults.value(legacyTokensKey);
  if (!stored.isValid() || stored.typeId() != QMetaType::QVariantMap) return std::nullopt;
  return stored.toMap();
}

// The older dictionary, or nothing when it is missing or holds anything but texts.
std::optional<QVariantMap> readLegacyTokens(QSettings& defaults) {
  std::optional<QVariantMap> tokens = readLegacyEntries(defaults);
  if (!tokens) return std::nullopt;
  for (auto entry = tokens->cbegin(); entry != tokens->cend(); ++entry) {
    if (entry.value().typeId() != QMetaType::QString) return std::nullopt;
  }
  return tokens;
}

void writeLegacyTokens(QSettings& defaults, const QVariantMap& tokens) {
  if (tokens.isEmpty()) {
    defaults.remove(legacyTokensKey);
  } else {
    defaults.setValue(legacyTokensKey, tokens);
  }
  defaults.sync();
}
}  // namespace

TarnTrustTokenStore::TarnTrustTokenStore(std::shared_ptr<TarnKeychain> keychain, QSettings& defaults)
    : keychain_(std::move(keychain)), defaults_(defaults) {}

QString TarnTrustTokenStore::accountName(const TarnUUID& clientID) {
  return QStringLiteral("TarnholdTrustedClientToken-") + QString::fromStdString(clientID.uuidString());
}

QString TarnTrustTokenStore::makeToken() {
  return QString::fromStdString(TarnUUID::random().uuidString() + "-" + TarnUUID::random().uuidString());
}

std::optional<QString> TarnTrustTokenStore::storedToken(const TarnUUID& clientID) {
  if (auto token = keychain_->get(accountName(clientID))) return token;
  if (auto unsaved = unsavedTokens_.find(clientID); unsaved != unsavedTokens_.end()) return unsaved->second;
  return migrateLegacyToken(clientID);
}

TarnIssuedToken TarnTrustTokenStore::issueToken(const TarnUUID& clientID) {
  if (auto token = storedToken(clientID)) return {*token, TarnTokenPersistence::keychain};
  const QString token = makeToken();
  if (keychain_->set(token, accountName(clientID))) return {token, TarnTokenPersistence::keychain};
  unsavedTokens_[clientID] = token;
  return {token, TarnTokenPersistence::thisRunOnly};
}

std::optional<QString> TarnTrustTokenStore::migrateLegacyToken(const TarnUUID& clientID) {
  std::optional<QVariantMap> tokens = readLegacyTokens(defaults_);
  const QString key = QString::fromStdString(clientID.uuidString());
  if (!tokens || !tokens->contains(key)) return std::nullopt;
  const QString token = tokens->value(key).toString();
  if (keychain_->set(token, accountName(clientID))) {
    tokens->remove(key);
    writeLegacyTokens(defaults_, *tokens);
  }
  return token;
}

void TarnTrustTokenStore::migrateLegacyTokens() {
  // Entries that are no token do not keep the good ones in plain text.
  std::optional<QVariantMap> tokens = readLegacyEntries(defaults_);
  if (!tokens) return;
  QVariantMap remaining;
  for (auto entry = tokens->cbegin(); entry != tokens->cend(); ++entry) {
    const auto clientID = TarnUUID::parse(entry.key().toStdString());
    // A key that names no device, or a value that is no text, can never be looked up;
    // it is dropped with the rest.
    if (!clientID || entry.value().typeId() != QMetaType::QString) continue;
    // The keychain's token is the one the device was last given; the older one is stale.
    if (keychain_->get(accountName(*clientID))) continue;
    if (!keychain_->set(entry.value().toString(), accountName(*clientID))) remaining.insert(entry.key(), entry.value());
  }
  writeLegacyTokens(defaults_, remaining);
}
