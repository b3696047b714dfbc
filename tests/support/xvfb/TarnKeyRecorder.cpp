// Test client: a focused window covering the screen that prints "READY", then one line
// "KEY <keysym in hex> state=<modifier mask>" per key press, as the keymap of that moment reads it,
// and "BUTTON <number> <x> <y>" per button press.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask;
  Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, unsigned(DisplayWidth(display, screen)),
                                unsigned(DisplayHeight(display, screen)), 0, CopyFromParent,
                                InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
  XMapRaised(display, window);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify) break;
  }
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  // Load the keymap now, as a running application has: loading it lazily on the
  // first key would race with keymap changes made right after READY.
  XKeyEvent probe{};
  probe.type = KeyPress;
  probe.display = display;
  probe.keycode = 38;
  char ignored[8];
  KeySym ignoredKeysym = 0;
  XLookupString(&probe, ignored, sizeof ignored, &ignoredKeysym, nullptr);
  XSync(display, False);
  std::printf("READY\n");
  std::fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
      continue;
    }
    if (event.type == ButtonPress) {
      std::printf("BUTTON %u %d %d\n", event.xbutton.button, event.xbutton.x_root, event.xbutton.y_root);
      std::fflush(stdout);
      continue;
    }
    if (event.type != KeyPress) continue;
    char text[16] = {};
    KeySym keysym = 0;
    XLookupString(&event.xkey, text, sizeof text - 1, &keysym, nullptr);
    std::printf("KEY 0x%lx state=0x%x\n", keysym, event.xkey.state);
    std::fflush(stdout);
  }
}
