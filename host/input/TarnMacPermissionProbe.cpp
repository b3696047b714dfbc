#include "host/input/TarnMacPermissionProbe.h"

#include "platform/capture/TarnXShmGrabber.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "platform/input/TarnXTestInjector.h"

#include <QDir>
#include <QFileInfo>

namespace {
const char* const waylandScreenDetail = "Screen capture needs an X11 session; this Wayland session does not allow it.";
const char* const waylandInputDetail = "Remote input needs an X11 session; this Wayland session does not allow it.";

TarnPermission row(const char* id, const char* title, const char* detail, const char* symbol, bool granted) {
  return {id, title, detail, symbol, granted ? TarnPermissionState::ready : TarnPermissionState::missing};
}
}  // namespace

TarnMacPermissionProbe::TarnMacPermissionProbe(TarnSessionEnvironment environment, QString inputDeviceFolder)
    : environment_(std::move(environment)), inputDeviceFolder_(std::move(inputDeviceFolder)) {}

std::vector<TarnPermission> TarnMacPermissionProbe::currentPermissions() const {
  return {screenRow(), accessibilityRow(), inputRow(),
          {"network", "Local Network", "Validated automatically when the host starts advertising.", "network",
           TarnPermissionState::needsReview}};
}

TarnPermission TarnMacPermissionProbe::screenRow() const {
  const char* symbol = "rectangle.dashed.badge.record";
  if (environment_.type() == TarnSessionType::wayland)
    return row("screen", "Screen Recording", waylandScreenDetail, symbol, false);
  bool granted = false;
  if (environment_.type() == TarnSessionType::x11) {
    TarnXDisplay display(environment_.display);
    TarnPixelView image;
    std::string reason;
    granted = display.isOpen() && TarnXShmGrabber(display.get()).grab({0, 0, 0, 16, 16, true}, image, reason);
  }
  return row("screen", "Screen Recording",
             granted ? "Screen capture is approved." : "Enable Screen Recording, then restart Tarnhold Host.", symbol,
             granted);
}

TarnPermission TarnMacPermissionProbe::accessibilityRow() const {
  const char* symbol = "cursorarrow.motionlines";
  if (environment_.type() == TarnSessionType::wayland)
    return row("accessibility", "Accessibility", waylandInputDetail, symbol, false);
  bool granted = false;
  if (environment_.type() == TarnSessionType::x11) {
    TarnXDisplay display(environment_.display);
    granted = display.isOpen() && TarnXTestInjector(display.get()).isAvailable();
  }
  return row("accessibility", "Accessibility",
             granted ? "Remote input control is approved." : "Enable Accessibility for Tarnhold Host.", symbol, granted);
}

TarnPermission TarnMacPermissionProbe::inputRow() const {
  bool granted = false;
  const QStringList devices = QDir(inputDeviceFolder_).entryList({QStringLiteral("event*")}, QDir::Files | QDir::System);
  for (const QString& device : devices) granted = granted || QFileInfo(QDir(inputDeviceFolder_).filePath(device)).isReadable();
  return row("input", "Input Monitoring",
             granted ? "Keyboard relay is approved." : "Optional: enables high-fidelity keyboard relay.", "keyboard",
             granted);
}
