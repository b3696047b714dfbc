#include "platform/keychain/TarnKeychainLog.h"

Q_LOGGING_CATEGORY(tarnKeychainLog, "tarnhold.keychain", QtWarningMsg)
