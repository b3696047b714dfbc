#include "platform/input/TarnRecordingInputInjector.h"

#include <cstdio>

void TarnRecordingInputInjector::movePointer(TarnPointerLocation target) {
  location = target;
  calls.push_back("move " + std::to_string(target.x) + " " + std::to_string(target.y));
}

void TarnRecordingInputInjector::click(TarnPointerButton button) {
  calls.push_back(button == TarnPointerButton::left ? "click left" : "click right");
}

void TarnRecordingInputInjector::scroll(TarnScrollDirection direction, int steps) {
  static constexpr const char* names[] = {"up", "down", "left", "right"};
  calls.push_back(std::string("scroll ") + names[int(direction)] + " " + std::to_string(steps));
}

void TarnRecordingInputInjector::pressShortcut(TarnShortcutModifier modifier, uint32_t keysym) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%x", keysym);
  calls.push_back(std::string(modifier == TarnShortcutModifier::control ? "key ctrl+" : "key ") + hex);
}

void TarnRecordingInputInjector::typeText(const std::u32string& text) {
  std::string line = "type";
  for (char32_t codePoint : text) line += " " + std::to_string(uint32_t(codePoint));
  calls.push_back(line);
}
