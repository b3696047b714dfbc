#pragma once
#include "host/input/TarnDesktopSystemActions.h"
#include "host/input/TarnKeepAwake.h"
#include "host/input/TarnMacInputController.h"
#include "host/input/TarnMacPermissionProbe.h"
#include "model/TarnModels.h"
#include "platform/autostart/TarnAutostartEntry.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "platform/displayserver/TarnXRandrMonitorLayout.h"
#include "platform/input/TarnQtClipboardWriter.h"
#include "platform/input/TarnXTestInjector.h"
#include "platform/logind/TarnLogindClient.h"

#include <functional>

// The desktop side of the host for one X11 login session, made of the real backends:
// remote input, system actions, keep-awake, the login item and the permission probe.
// The owner hands it every "remoteInput" command. Lives on the main thread, which must
// run a QGuiApplication for pasting.
class TarnDesktopIntegration {
public:
  using EventReporter = std::function<void(const QString& title, const QString& detail, const QString& symbol)>;

  // `logind` is the system bus's logind in the program and a stand-in in tests.
  TarnDesktopIntegration(TarnSessionEnvironment environment, TarnLogindClient logind, TarnAutostartEntry loginItem);
  // This session's X display, the system bus and ~/.config/autostart/tarnhold.desktop
  // starting `executable`.
  static std::unique_ptr<TarnDesktopIntegration> forCurrentSession(const QString& executable);

  // The owner's handling of a command no host unit took: a "remoteInput" payload is
  // performed on `displayID` and reported (pointer moves silently); anything else, or
  // a payload that does not decode, is only reported with its name and text.
  void handleCommand(const TarnWireCommand& command, const std::optional<TarnDevice>& device,
                     std::optional<uint32_t> displayID, const EventReporter& report);

  TarnMacInputController& inputController() { return controller_; }
  TarnKeepAwake& keepAwake() { return keepAwake_; }
  TarnMacPermissionProbe& permissionProbe() { return permissionProbe_; }

  // The login item: true when the change was made.
  bool setLaunchAtLogin(TarnSwitch state);
  bool launchAtLogin() const { return loginItem_.isInstalled(); }

private:
  TarnXDisplay display_;
  TarnLogindClient logind_;
  TarnAutostartEntry loginItem_;
  TarnXTestInjector injector_;
  TarnXRandrMonitorLayout monitors_;
  TarnQtClipboardWriter clipboard_;
  TarnDesktopSystemActions systemActions_;
  TarnKeepAwake keepAwake_;
  TarnMacInputController controller_;
  TarnMacPermissionProbe permissionProbe_;
};
