#include "platform/input/TarnXTestInjector.h"

#include "platform/input/TarnKeysyms.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <thread>

bool TarnXTestInjector::isAvailable() {
  if (!display_) return false;
  if (!hasXTest_) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    hasXTest_ = XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor) != 0;
  }
  return *hasXTest_;
}

void TarnXTestInjector::movePointer(TarnPointerLocation location) {
  if (!isAvailable()) return;
  XTestFakeMotionEvent(display_, -1, location.x, location.y, CurrentTime);
  XSync(display_, False);
}

std::optional<TarnPointerLocation> TarnXTestInjector::pointerLocation() {
  if (!display_) return std::nullopt;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  unsigned mask = 0;
  if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY,
                     &windowX, &windowY, &mask))
    return std::nullopt;
  return TarnPointerLocation{rootX, rootY};
}

void TarnXTestInjector::tapButton(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
}

void TarnXTestInjector::click(TarnPointerButton button) {
  if (!isAvailable()) return;
  tapButton(button == TarnPointerButton::left ? 1 : 3);
  XSync(display_, False);
}

void TarnXTestInjector::scroll(TarnScrollDirection direction, int steps) {
  if (!isAvailable()) return;
  // The core protocol scrolls with buttons: 4 up, 5 down, 6 left, 7 right.
  unsigned button = 4 + unsigned(direction);
  for (int step = 0; step < steps; ++step) tapButton(button);
  XSync(display_, False);
}

void TarnXTestInjector::pressShortcut(TarnShortcutModifier modifier, uint32_t keysym) {
  if (!isAvailable()) return;
  Display* display = display_;
  KeyCode key = XKeysymToKeycode(display, keysym);
  if (key == 0) return;
  KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  bool holdControl = modifier == TarnShortcutModifier::control && control != 0;
  if (holdControl) XTestFakeKeyEvent(display, control, True, CurrentTime);
  XTestFakeKeyEvent(display, key, True, CurrentTime);
  XTestFakeKeyEvent(display, key, False, CurrentTime);
  if (holdControl) XTestFakeKeyEvent(display, control, False, CurrentTime);
  XSync(display, False);
}

void TarnXTestInjector::typeText(const std::u32string& text) {
  if (!isAvailable()) return;
  for (char32_t codePoint : text)
    if (uint32_t keysym = tarnKeysymForCodePoint(codePoint)) typeKeysym(keysym);
}

void TarnXTestInjector::tapKeycode(unsigned keycode, bool withShift) {
  Display* display = display_;
  KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  if (withShift) XTestFakeKeyEvent(display, shift, True, CurrentTime);
  XTestFakeKeyEvent(display, keycode, True, CurrentTime);
  XTestFakeKeyEvent(display, keycode, False, CurrentTime);
  if (withShift) XTestFakeKeyEvent(display, shift, False, CurrentTime);
  XSync(display, False);
}

unsigned TarnXTestInjector::spareKeycode() {
  if (spareKeycode_) return spareKeycode_;
  Display* display = display_;
  int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
  XDisplayKeycodes(display, &minKeycode, &maxKeycode);
  KeySym* map = XGetKeyboardMapping(display, KeyCode(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
  if (!map) return 0;
  for (int keycode = maxKeycode; keycode >= minKeycode && !spareKeycode_; --keycode) {
    bool empty = true;
    for (int level = 0; level < perKeycode && empty; ++level)
      empty = map[(keycode - minKeycode) * perKeycode + level] == NoSymbol;
    if (empty) spareKeycode_ = unsigned(keycode);
  }
  XFree(map);
  return spareKeycode_;
}

void TarnXTestInjector::typeKeysym(uint32_t keysym) {
  Display* display = display_;
  if (KeyCode keycode = XKeysymToKeycode(display, keysym)) {
    if (XkbKeycodeToKeysym(display, keycode, 0, 0) == keysym) return tapKeycode(keycode, false);
    if (XkbKeycodeToKeysym(display, keycode, 0, 1) == keysym) return tapKeycode(keycode, true);
  }
  // Not on the layout at a plain or shifted level: lend it a key with no symbols
  // for one tap. Clients only use the new symbol once they have handled the
  // MappingNotify, hence the pauses.
  unsigned spare = spareKeycode();
  if (!spare) return;
  KeySym both[2] = {keysym, keysym};
  XChangeKeyboardMapping(display, int(spare), 2, both, 1);
  XSync(display, False);
  std::this_thread::sleep_for(remapSettleTime);
  tapKeycode(spare, false);
  std::this_thread::sleep_for(remapSettleTime);
  KeySym none[2] = {NoSymbol, NoSymbol};
  XChangeKeyboardMapping(display, int(spare), 2, none, 1);
  XSync(display, False);
}
