#include "platform/displayserver/TarnXRandrMonitorLayout.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

std::vector<TarnMonitor> TarnXRandrMonitorLayout::monitors() {
  std::vector<TarnMonitor> result;
  if (!display_) return result;
  Window root = DefaultRootWindow(display_);
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  bool hasMonitors = XRRQueryExtension(display_, &eventBase, &errorBase) &&
                     XRRQueryVersion(display_, &major, &minor) &&
                     (major > 1 || (major == 1 && minor >= 5));
  if (hasMonitors) {
    int count = 0;
    XRRMonitorInfo* infos = XRRGetMonitors(display_, root, True, &count);
    for (int i = 0; i < count; ++i) {
      const XRRMonitorInfo& info = infos[i];
      if (info.width <= 0 || info.height <= 0) continue;
      result.push_back({static_cast<uint32_t>(info.name), info.x, info.y, info.width, info.height,
                        info.primary != 0});
    }
    if (infos) XRRFreeMonitors(infos);
  }
  if (result.empty()) {
    int screen = DefaultScreen(display_);
    result.push_back({static_cast<uint32_t>(root), 0, 0, DisplayWidth(display_, screen),
                      DisplayHeight(display_, screen), true});
  }
  return result;
}
