#include "platform/input/TarnXTestInjector.h"

#include "platform/displayserver/TarnXEventDrain.h"
#include "platform/input/TarnKeysyms.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
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
  tarnDrainXEvents(display);
  KeyCode key = XKeysymToKeycode(display, keysym);
  if (key == 0) return;
  // A symbol on the Shift level of its key (such as "+", or "=" on many layouts) needs Shift,
  // or the shortcut reaches the application as the key's plain symbol.
  bool onShiftLevel =
      XkbKeycodeToKeysym(display, key, 0, 0) != keysym && XkbKeycodeToKeysym(display, key, 0, 1) == keysym;
  KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  bool holdControl = modifier == TarnShortcutModifier::control && control != 0;
  if (holdControl) XTestFakeKeyEvent(display, control, True, CurrentTime);
  tapKeycode(key, onShiftLevel);
  if (holdControl) XTestFakeKeyEvent(display, control, False, CurrentTime);
  XSync(display, False);
}

void TarnXTestInjector::typeText(const std::u32string& text) {
  if (!isAvailable()) return;
  tarnDrainXEvents(display_);  // the layout may have changed since the last time
  // Read afresh: a key that was free last time may belong to a new layout now.
  const std::vector<unsigned> spares = spareKeycodes();
  size_t next = 0;
  while (next < text.size()) next = typeBatch(text, next, spares);
  tarnDrainXEvents(display_);
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

std::vector<unsigned> TarnXTestInjector::spareKeycodes() {
  std::vector<unsigned> spares;
  int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
  XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
  KeySym* map = XGetKeyboardMapping(display_, KeyCode(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
  if (!map) return spares;
  for (int keycode = maxKeycode; keycode >= minKeycode; --keycode) {
    bool empty = true;
    for (int level = 0; level < perKeycode && empty; ++level)
      empty = map[(keycode - minKeycode) * perKeycode + level] == NoSymbol;
    if (empty) spares.push_back(unsigned(keycode));
  }
  XFree(map);
  return spares;
}

size_t TarnXTestInjector::typeBatch(const std::u32string& text, size_t start, const std::vector<unsigned>& spares) {
  // Characters the layout lacks borrow keys with no symbols. Clients only see a new
  // symbol once they have handled the MappingNotify, and must have read the key
  // before the mapping is taken back, hence a pause on each side. One pause pair
  // serves every character of a batch, up to one borrowed key per distinct symbol.
  Display* display = display_;
  std::vector<std::pair<unsigned, uint32_t>> borrowed;  // key, symbol
  std::vector<std::pair<unsigned, bool>> taps;          // key, with Shift
  size_t index = start;
  for (; index < text.size(); ++index) {
    uint32_t keysym = tarnKeysymForCodePoint(text[index]);
    if (!keysym) continue;
    if (KeyCode keycode = XKeysymToKeycode(display, keysym)) {
      if (XkbKeycodeToKeysym(display, keycode, 0, 0) == keysym) {
        taps.emplace_back(keycode, false);
        continue;
      }
      if (XkbKeycodeToKeysym(display, keycode, 0, 1) == keysym) {
        taps.emplace_back(keycode, true);
        continue;
      }
    }
    auto lent = std::find_if(borrowed.begin(), borrowed.end(), [&](const auto& key) { return key.second == keysym; });
    if (lent != borrowed.end()) {
      taps.emplace_back(lent->first, false);
      continue;
    }
    if (borrowed.size() == spares.size()) {
      if (spares.empty()) continue;  // nowhere to put it: skipped
      break;                         // the next batch takes it
    }
    borrowed.emplace_back(spares[borrowed.size()], keysym);
    taps.emplace_back(borrowed.back().first, false);
  }
  for (const auto& [keycode, keysym] : borrowed) {
    KeySym both[2] = {keysym, keysym};
    XChangeKeyboardMapping(display, int(keycode), 2, both, 1);
  }
  if (!borrowed.empty()) {
    XSync(display, False);
    std::this_thread::sleep_for(remapSettleTime);
  }
  for (const auto& [keycode, withShift] : taps) tapKeycode(keycode, withShift);
  if (!borrowed.empty()) {
    std::this_thread::sleep_for(remapSettleTime);
    for (const auto& [keycode, keysym] : borrowed) {
      KeySym none[2] = {NoSymbol, NoSymbol};
      XChangeKeyboardMapping(display, int(keycode), 2, none, 1);
    }
    XSync(display, False);
  }
  return index;
}
