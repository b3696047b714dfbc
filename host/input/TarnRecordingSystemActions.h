#pragma once
#include "host/input/TarnSystemActions.h"

#include <string>
#include <vector>

// Records the requests instead of carrying them out; `succeeds` decides the answers.
class TarnRecordingSystemActions : public TarnSystemActions {
public:
  bool succeeds = true;
  std::vector<std::string> calls;

  bool showDesktopOverview() override { return record("overview"); }
  bool openTerminal() override { return record("terminal"); }
  bool sleepDisplay() override { return record("display sleep"); }
  bool lockScreen() override { return record("lock"); }
  bool suspend() override { return record("suspend"); }
  bool reboot() override { return record("reboot"); }
  bool logOut() override { return record("log out"); }
  bool powerOff() override { return record("power off"); }

private:
  bool record(std::string name);
};
