#pragma once

#include "model/TarnDate.h"
#include "model/TarnRawEnum.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The pointer, keyboard and system actions a client can trigger.
enum class TarnRemoteInputAction {
  pointerMove,
  primaryClick,
  secondaryClick,
  scroll,
  pinchZoom,
  missionControl,
  keyboard,
  typeText,
  smartPaste,
  openTerminal,
  privacyShield,
  keepAwake,
  sleepDisplay,
  lockMac,
  sleepMac,
  restartMac,
  logOutMac,
  shutdownMac,
};

template <>
struct TarnEnumNames<TarnRemoteInputAction> {
  static constexpr std::array<std::string_view, 18> values = {
      "pointerMove", "primaryClick", "secondaryClick", "scroll",       "pinchZoom",
      "missionControl", "keyboard",  "typeText",       "smartPaste",   "openTerminal",
      "privacyShield", "keepAwake",  "sleepDisplay",   "lockMac",      "sleepMac",
      "restartMac",  "logOutMac",    "shutdownMac",
  };
};

std::string_view title(TarnRemoteInputAction action);
std::string_view symbol(TarnRemoteInputAction action);

// One remote input, sent as the payload of the command "remoteInput".
struct TarnRemoteInputPayload {
  static constexpr std::string_view commandName = "remoteInput";

  TarnRemoteInputAction action = TarnRemoteInputAction::pointerMove;
  double x = 0; // 0 at the left edge, 1 at the right
  double y = 0; // 0 at the top edge, 1 at the bottom
  double deltaX = 0;
  double deltaY = 0;
  std::optional<std::string> text{};
  std::string label{};
  TarnDate createdAt{};

  // For decoding: holds exactly what was sent.
  TarnRemoteInputPayload() = default;
  // Clamps x and y into 0...1 (a NaN becomes 0) and labels the input with the
  // action's title when no label is given.
  TarnRemoteInputPayload(TarnRemoteInputAction action, double x, double y, double deltaX = 0,
                         double deltaY = 0, std::optional<std::string> text = std::nullopt,
                         std::optional<std::string> label = std::nullopt,
                         TarnDate createdAt = TarnDate::now());

  bool operator==(const TarnRemoteInputPayload&) const = default;

  // JSON text with ISO-8601 dates. A number that is not finite is written as 0, so the
  // text is always valid JSON.
  std::string encodedString() const;
  static std::optional<TarnRemoteInputPayload> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("action", self.action);
    visit("x", self.x);
    visit("y", self.y);
    visit("deltaX", self.deltaX);
    visit("deltaY", self.deltaY);
    visit("text", self.text);
    visit("label", self.label);
    visit("createdAt", self.createdAt);
  }
};
