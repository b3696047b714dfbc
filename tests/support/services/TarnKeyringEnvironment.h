#pragma once

#include "tests/support/services/TarnPrivateKeyring.h"

#include <gtest/gtest.h>

#include <memory>

// One private keyring for a whole test program: libsecret keeps its first
// session bus connection for the life of the process, so every test of the
// program must find the same bus. It registers itself with GoogleTest,
// which stops it after the last test.
class TarnKeyringEnvironment : public testing::Environment {
public:
  // Starts the keyring on first use.
  static const TarnPrivateKeyring& keyring();
  void TearDown() override;

private:
  static std::unique_ptr<TarnPrivateKeyring>& running();
};
