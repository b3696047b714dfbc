#pragma once
#include <cstdint>
#include <optional>
#include <string>

enum class TarnPointerButton { left, right };
enum class TarnScrollDirection { up, down, left, right };
enum class TarnShortcutModifier { none, control };

struct TarnPointerLocation {
  int x = 0;
  int y = 0;
  bool operator==(const TarnPointerLocation&) const = default;
};

// Synthetic pointer and keyboard input on the desktop. Positions are in root-window
// pixels; keys are X keysyms.
class TarnInputInjector {
public:
  virtual ~TarnInputInjector() = default;
  // Whether input can be synthesised at all in this session.
  virtual bool isAvailable() = 0;
  virtual void movePointer(TarnPointerLocation location) = 0;
  virtual std::optional<TarnPointerLocation> pointerLocation() = 0;
  virtual void click(TarnPointerButton button) = 0;
  virtual void scroll(TarnScrollDirection direction, int steps) = 0;
  // Taps `keysym` with the modifier held.
  virtual void pressShortcut(TarnShortcutModifier modifier, uint32_t keysym) = 0;
  // Types the text key by key, whatever the keyboard layout has on its keys.
  virtual void typeText(const std::u32string& text) = 0;
};
