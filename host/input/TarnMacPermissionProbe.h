#pragma once
#include "model/TarnDeviceModels.h"
#include "platform/displayserver/TarnSessionEnvironment.h"

#include <QString>

#include <vector>

// The permissions the host needs, each probed on the spot: screen capture and input
// synthesis need a reachable X11 display (MIT-SHM and XTEST), keyboard relay needs
// readable input devices, and the local network is only known once advertising runs.
class TarnMacPermissionProbe {
public:
  explicit TarnMacPermissionProbe(TarnSessionEnvironment environment = TarnSessionEnvironment::current(),
                                  QString inputDeviceFolder = QStringLiteral("/dev/input"));

  std::vector<TarnPermission> currentPermissions() const;

private:
  TarnPermission screenRow() const;
  TarnPermission accessibilityRow() const;
  TarnPermission inputRow() const;

  TarnSessionEnvironment environment_;
  QString inputDeviceFolder_;
};
