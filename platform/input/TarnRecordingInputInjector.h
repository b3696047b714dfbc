#pragma once
#include "platform/input/TarnInputInjector.h"

#include <string>
#include <vector>

// Records every request as one readable line, for tests of the callers.
class TarnRecordingInputInjector : public TarnInputInjector {
public:
  bool available = true;
  TarnPointerLocation location;
  std::vector<std::string> calls;

  bool isAvailable() override { return available; }
  void movePointer(TarnPointerLocation target) override;
  std::optional<TarnPointerLocation> pointerLocation() override { return location; }
  void click(TarnPointerButton button) override;
  void scroll(TarnScrollDirection direction, int steps) override;
  void pressShortcut(TarnShortcutModifier modifier, uint32_t keysym) override;
  void typeText(const std::u32string& text) override;
};
