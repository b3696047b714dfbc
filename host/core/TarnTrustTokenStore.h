#pragma once

#include "model/TarnUUID.h"

#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>

class QSettings;
class TarnKeychain;

enum class TarnTokenPersistence { keychain, thisRunOnly };

struct TarnIssuedToken {
  QString token;
  TarnTokenPersistence persistence = TarnTokenPersistence::keychain;
};

// The trust tokens handed to paired devices, one per device, kept in the keychain.
// A token the keychain refused is kept in memory so the device is still recognised
// until the host quits.
class TarnTrustTokenStore {
public:
  TarnTrustTokenStore(std::shared_ptr<TarnKeychain> keychain, QSettings& defaults);

  // The device's token: from the keychain, from this run's memory, or moved over from
  // the older defaults dictionary.
  std::optional<QString> storedToken(const TarnUUID& clientID);
  // The stored token, or a new one that is stored first.
  TarnIssuedToken issueToken(const TarnUUID& clientID);
  // Moves every entry of the older defaults dictionary into the keychain. Entries the
  // keychain refuses stay in the dictionary for the next attempt.
  void migrateLegacyTokens();

  static QString accountName(const TarnUUID& clientID);
  // Two upper-case UUID texts joined by "-": 73 characters.
  static QString makeToken();

private:
  std::optional<QString> migrateLegacyToken(const TarnUUID& clientID);

  std::shared_ptr<TarnKeychain> keychain_;
  QSettings& defaults_;
  std::unordered_map<TarnUUID, QString> unsavedTokens_;
};
