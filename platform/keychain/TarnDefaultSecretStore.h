#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <memory>

// The Secret Service when one answers on the session bus and has a default
// collection to keep secrets in, else the file store.
std::shared_ptr<TarnSecretStore> makeDefaultSecretStore();
