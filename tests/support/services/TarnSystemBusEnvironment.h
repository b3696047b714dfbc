#pragma once

#include "tests/support/services/TarnPrivateBus.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// One private system bus for a whole test program, pointed to by
// DBUS_SYSTEM_BUS_ADDRESS: libdbus reads that address once per process,
// so every client the program makes must find the same bus there. It
// registers itself with GoogleTest, which stops it after the last test.
class TarnSystemBusEnvironment : public testing::Environment {
public:
  // Starts the bus on first use.
  static const TarnPrivateBus& bus();
  void TearDown() override;

private:
  struct Running {
    QTemporaryDir folder;
    std::unique_ptr<TarnPrivateBus> bus;
  };
  static std::unique_ptr<Running>& running();
};
