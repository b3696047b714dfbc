#pragma once
#include "host/input/TarnSystemActions.h"
#include "platform/input/TarnInputInjector.h"
#include "platform/logind/TarnLogindClient.h"

#include <QStringList>

typedef struct _XDisplay Display;

// System functions of a Linux desktop session: the overview key, a terminal, DPMS
// for the display and logind for the session and the power state.
class TarnDesktopSystemActions : public TarnSystemActions {
public:
  // `terminalCommand` is the program and arguments that open a terminal.
  TarnDesktopSystemActions(TarnInputInjector& injector, Display* display, TarnLogindClient& logind,
                           QStringList terminalCommand = {QStringLiteral("x-terminal-emulator")});

  bool showDesktopOverview() override;
  bool openTerminal() override;
  bool sleepDisplay() override;
  bool lockScreen() override;
  bool suspend() override;
  bool reboot() override;
  bool logOut() override;
  bool powerOff() override;

private:
  TarnInputInjector& injector_;
  Display* display_;
  TarnLogindClient& logind_;
  QStringList terminalCommand_;
};
