#pragma once

// The system functions a client may trigger. Each answers whether the request was
// handed to the system; what the system then does is not awaited.
class TarnSystemActions {
public:
  virtual ~TarnSystemActions() = default;
  virtual bool showDesktopOverview() = 0;
  virtual bool openTerminal() = 0;
  virtual bool sleepDisplay() = 0;
  virtual bool lockScreen() = 0;
  virtual bool suspend() = 0;
  virtual bool reboot() = 0;
  virtual bool logOut() = 0;
  virtual bool powerOff() = 0;
};
