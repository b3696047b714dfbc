#pragma once
#include "platform/input/TarnInputInjector.h"

#include <chrono>
#include <vector>

typedef struct _XDisplay Display;

// Input through the XTEST extension, on a connection the caller keeps open.
class TarnXTestInjector : public TarnInputInjector {
public:
  // How long the X server and the focused client need to see a changed keymap before
  // a key of it arrives, and to see the key before the keymap changes back.
  static constexpr std::chrono::milliseconds remapSettleTime{20};

  explicit TarnXTestInjector(Display* display) : display_(display) {}

  bool isAvailable() override;
  void movePointer(TarnPointerLocation location) override;
  std::optional<TarnPointerLocation> pointerLocation() override;
  void click(TarnPointerButton button) override;
  void scroll(TarnScrollDirection direction, int steps) override;
  void pressShortcut(TarnShortcutModifier modifier, uint32_t keysym) override;
  void typeText(const std::u32string& text) override;

private:
  void tapButton(unsigned button);
  void tapKeycode(unsigned keycode, bool withShift);
  // Types text[start...] up to where the borrowed keys run out; returns where it stopped.
  size_t typeBatch(const std::u32string& text, size_t start, const std::vector<unsigned>& spares);
  // Keys without symbols in the current keymap, free to lend.
  std::vector<unsigned> spareKeycodes();

  Display* display_;
  std::optional<bool> hasXTest_;
};
