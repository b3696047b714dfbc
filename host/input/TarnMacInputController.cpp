#include "host/input/TarnMacInputController.h"

#include "platform/capture/TarnDisplayOrder.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr uint32_t keysymV = 'v';
constexpr uint32_t keysymMinus = '-';
constexpr uint32_t keysymEqual = '=';

// Clicks for a pixel delta: none for zero or a value that is not finite, at least one
// otherwise, and never so many that one event floods the desktop.
int wheelSteps(double delta) {
  if (!std::isfinite(delta)) return 0;
  double pixels = std::min(std::fabs(std::trunc(delta)), double(INT32_MAX));
  if (pixels < 1) return 0;
  int steps = int(std::ceil(pixels / TarnMacInputController::pixelsPerWheelStep));
  return std::clamp(steps, 1, TarnMacInputController::maxWheelStepsPerEvent);
}

double clampUnit(double value) { return value > 1 ? 1 : value > 0 ? value : 0; }
}  // namespace

QString TarnMacInputController::perform(const TarnRemoteInputPayload& payload, std::optional<uint32_t> displayID) {
  switch (payload.action) {
    case TarnRemoteInputAction::missionControl:
    case TarnRemoteInputAction::openTerminal:
    case TarnRemoteInputAction::sleepDisplay:
    case TarnRemoteInputAction::sleepMac:
    case TarnRemoteInputAction::restartMac:
    case TarnRemoteInputAction::logOutMac:
    case TarnRemoteInputAction::shutdownMac:
      return performSystemAction(payload.action);
    case TarnRemoteInputAction::keepAwake:
      return backends_.keepAwake.setKeepAwake(payload.text == "on" ? TarnSwitch::on : TarnSwitch::off);
    default:
      break;
  }
  if (!backends_.injector.isAvailable())
    return QStringLiteral("Enable Accessibility for Tarnhold Host before remote input can control the Mac.");
  return performInputAction(payload, displayID);
}

QString TarnMacInputController::performSystemAction(TarnRemoteInputAction action) {
  TarnSystemActions& system = backends_.system;
  auto outcome = [](bool started, const char* done, const char* failed) {
    return QString::fromUtf8(started ? done : failed);
  };
  switch (action) {
    case TarnRemoteInputAction::missionControl:
      return outcome(system.showDesktopOverview(), "Mission Control opened on the Mac.",
                     "Mission Control could not be opened on the Mac.");
    case TarnRemoteInputAction::openTerminal:
      return outcome(system.openTerminal(), "Terminal opened on the Mac.", "Terminal could not be opened on the Mac.");
    case TarnRemoteInputAction::sleepDisplay:
      return outcome(system.sleepDisplay(), "Display sleep command sent to macOS.",
                     "Display sleep command could not be sent to macOS.");
    case TarnRemoteInputAction::sleepMac:
      return outcome(system.suspend(), "Sleep command sent to macOS.", "Sleep command could not be sent to macOS.");
    case TarnRemoteInputAction::restartMac:
      return outcome(system.reboot(), "Restart command sent to macOS.", "Restart command could not be sent to macOS.");
    case TarnRemoteInputAction::logOutMac:
      return outcome(system.logOut(), "Log out command sent to macOS.", "Log out command could not be sent to macOS.");
    case TarnRemoteInputAction::shutdownMac:
      return outcome(system.powerOff(), "Shut down command sent to macOS.",
                     "Shut down command could not be sent to macOS.");
    default:
      return {};
  }
}

QString TarnMacInputController::performInputAction(const TarnRemoteInputPayload& payload,
                                                   std::optional<uint32_t> displayID) {
  TarnInputInjector& injector = backends_.injector;
  switch (payload.action) {
    case TarnRemoteInputAction::pointerMove:
      movePointer(payload.x, payload.y, displayID);
      return QStringLiteral("Pointer moved on the active Mac display.");
    case TarnRemoteInputAction::primaryClick:
      injector.click(TarnPointerButton::left);
      return QStringLiteral("Primary click posted to the Mac.");
    case TarnRemoteInputAction::secondaryClick:
      injector.click(TarnPointerButton::right);
      return QStringLiteral("Secondary click posted to the Mac.");
    case TarnRemoteInputAction::scroll:
      scroll(payload.deltaX, payload.deltaY);
      return QStringLiteral("Scroll event posted to the Mac.");
    case TarnRemoteInputAction::pinchZoom:
      // Command maps to Control on Linux.
      if (payload.deltaY < 0) {
        injector.pressShortcut(TarnShortcutModifier::control, keysymMinus);
        return QStringLiteral("Zoom out shortcut posted to the Mac.");
      }
      injector.pressShortcut(TarnShortcutModifier::control, keysymEqual);
      return QStringLiteral("Zoom in shortcut posted to the Mac.");
    case TarnRemoteInputAction::keyboard:
      return QStringLiteral("Keyboard relay is not active yet; remote pointer input remains available.");
    case TarnRemoteInputAction::typeText: {
      // Typed key by key, so the owner's clipboard is left alone.
      QString text = QString::fromStdString(payload.text.value_or(payload.label));
      std::u32string codePoints;
      for (char32_t codePoint : text.toUcs4()) {
        // A CR LF pair is one line break: a single Return, not two.
        if (codePoint == U'\n' && !codePoints.empty() && codePoints.back() == U'\r') continue;
        codePoints.push_back(codePoint);
      }
      if (!codePoints.empty()) injector.typeText(codePoints);
      return QStringLiteral("Pasted keyboard text into the active Mac app.");
    }
    case TarnRemoteInputAction::smartPaste:
      if (!paste(payload.text.value_or(std::string())))
        return QStringLiteral("Smart Paste could not stage text on the Mac clipboard.");
      return QStringLiteral("Smart Paste staged text on the Mac and pasted into the active app.");
    case TarnRemoteInputAction::privacyShield:
      return QStringLiteral("Privacy Shield request received. Display dimming requires the next host overlay milestone.");
    case TarnRemoteInputAction::lockMac:
      if (!backends_.system.lockScreen()) return QStringLiteral("Lock command could not be sent to macOS.");
      return QStringLiteral("Lock command sent to macOS.");
    default:
      return {};
  }
}

void TarnMacInputController::movePointer(double x, double y, std::optional<uint32_t> displayID) {
  std::vector<TarnMonitor> monitors = TarnDisplayOrder::sorted(backends_.monitors.monitors());
  std::optional<TarnMonitor> display = TarnDisplayOrder::choose(monitors, displayID);
  if (!display) return;
  // 1 is the far edge: land on the last pixel of the display, not the first one past it.
  int column = std::min(int(display->width * clampUnit(x)), display->width - 1);
  int row = std::min(int(display->height * clampUnit(y)), display->height - 1);
  backends_.injector.movePointer({display->x + column, display->y + row});
}

void TarnMacInputController::scroll(double deltaX, double deltaY) {
  // A positive delta scrolls up or left, as the client's wheel values do.
  if (int steps = wheelSteps(deltaY))
    backends_.injector.scroll(deltaY > 0 ? TarnScrollDirection::up : TarnScrollDirection::down, steps);
  if (int steps = wheelSteps(deltaX))
    backends_.injector.scroll(deltaX > 0 ? TarnScrollDirection::left : TarnScrollDirection::right, steps);
}

bool TarnMacInputController::paste(const std::string& text) {
  if (text.empty()) return true;
  if (!backends_.clipboard.setText(QString::fromStdString(text))) return false;
  backends_.injector.pressShortcut(TarnShortcutModifier::control, keysymV);
  return true;
}
