#pragma once

#include "platform/keychain/TarnSecretStore.h"

#include <memory>

// The Secret Service when one answers on the session bus, else the file store.
std::shared_ptr<TarnSecretStore> makeDefaultSecretStore();
