#include "platform/displayserver/TarnXDisplayPower.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

bool TarnXDisplayPower::forceOff() {
  if (!display_) return false;
  int eventBase = 0, errorBase = 0;
  if (DPMSQueryExtension(display_, &eventBase, &errorBase) && DPMSCapable(display_)) {
    // A server with DPMS disabled ignores a forced level, so switch it on first.
    DPMSEnable(display_);
    DPMSForceLevel(display_, DPMSModeOff);
  } else {
    XForceScreenSaver(display_, ScreenSaverActive);
  }
  XSync(display_, False);
  return true;
}
