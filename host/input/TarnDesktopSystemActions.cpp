#include "host/input/TarnDesktopSystemActions.h"

#include "platform/displayserver/TarnXDisplayPower.h"

#include <QProcess>

namespace {
constexpr uint32_t superKeysym = 0xffeb;  // Super_L
}

TarnDesktopSystemActions::TarnDesktopSystemActions(TarnInputInjector& injector, Display* display,
                                                   TarnLogindClient& logind, QStringList terminalCommand)
    : injector_(injector), display_(display), logind_(logind), terminalCommand_(std::move(terminalCommand)) {}

// GNOME, KDE and most others open their overview on a tap of the Super key.
bool TarnDesktopSystemActions::showDesktopOverview() {
  if (!injector_.isAvailable()) return false;
  injector_.pressShortcut(TarnShortcutModifier::none, superKeysym);
  return true;
}

bool TarnDesktopSystemActions::openTerminal() {
  if (terminalCommand_.isEmpty()) return false;
  return QProcess::startDetached(terminalCommand_.front(), terminalCommand_.mid(1));
}

bool TarnDesktopSystemActions::sleepDisplay() { return TarnXDisplayPower(display_).forceOff(); }

bool TarnDesktopSystemActions::lockScreen() { return logind_.lockSession(); }

bool TarnDesktopSystemActions::suspend() { return logind_.suspend(); }

bool TarnDesktopSystemActions::reboot() { return logind_.reboot(); }

bool TarnDesktopSystemActions::logOut() { return logind_.terminateSession(); }

bool TarnDesktopSystemActions::powerOff() { return logind_.powerOff(); }
