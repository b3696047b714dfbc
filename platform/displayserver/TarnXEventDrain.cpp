#include "platform/displayserver/TarnXEventDrain.h"

#include <X11/Xlib.h>

void tarnDrainXEvents(Display* display) {
  if (!display) return;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
  }
}
