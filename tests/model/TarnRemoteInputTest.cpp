#include "model/TarnRemoteInput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST(TarnRemoteInputPayload, ConstructorClampsPositionIntoTheDisplay) {
  struct Case {
    double given;
    double stored;
  };
  for (auto [given, stored] : {Case{1.7, 1}, Case{-0.2, 0}, Case{0.25, 0.25}, Case{0, 0},
                               Case{1, 1}, Case{kNaN, 0}, Case{kInfinity, 1}, Case{-kInfinity, 0}}) {
    TarnRemoteInputPayload payload(TarnRemoteInputAction::pointerMove, given, given);
    EXPECT_EQ(payload.x, stored) << given;
    EXPECT_EQ(payload.y, stored) << given;
  }
}

TEST(TarnRemoteInputPayload, ConstructorLabelsWithTheActionTitleByDefault) {
  TarnRemoteInputPayload unlabelled(TarnRemoteInputAction::lockMac, 0, 0);
  EXPECT_EQ(unlabelled.label, "Lock Mac");
  TarnRemoteInputPayload labelled(TarnRemoteInputAction::lockMac, 0, 0, 0, 0, std::nullopt, "Lock now");
  EXPECT_EQ(labelled.label, "Lock now");
}

TEST(TarnRemoteInputPayload, RoundTripsThroughItsPayloadText) {
  TarnRemoteInputPayload payload(TarnRemoteInputAction::smartPaste, 0.5, 0.25, -3.5, 12,
                                 "pasted \"text\"\n", std::nullopt, TarnDate(786'000'000));
  EXPECT_EQ(TarnRemoteInputPayload::decode(payload.encodedString()), payload);
}

// Non-finite numbers and labels with quotes used to produce text that was not JSON.
TEST(TarnRemoteInputPayload, PayloadTextIsValidJsonWhateverTheNumbers) {
  TarnRemoteInputPayload payload(TarnRemoteInputAction::scroll, 0.5, 0.5, kNaN, -kInfinity,
                                 std::nullopt, "Scroll \"fast\"", TarnDate(786'000'000));
  payload.x = kInfinity;
  auto decoded = TarnRemoteInputPayload::decode(payload.encodedString());
  ASSERT_TRUE(decoded) << payload.encodedString();
  EXPECT_EQ(decoded->x, 0);
  EXPECT_EQ(decoded->y, 0.5);
  EXPECT_EQ(decoded->deltaX, 0);
  EXPECT_EQ(decoded->deltaY, 0);
  EXPECT_EQ(decoded->label, "Scroll \"fast\"");
  EXPECT_EQ(decoded->createdAt, payload.createdAt);
}

TEST(TarnRemoteInputPayload, DecodeKeepsWhatWasSentAndNeedsEveryRequiredKey) {
  auto payloadText = [](std::string_view action, std::string_view extra) {
    return R"({"action":")" + std::string(action) + R"(","x":1.7,"y":0,"deltaX":0,"deltaY":0)" +
           std::string(extra) + "}";
  };
  const std::string complete = R"(,"label":"Click","createdAt":"2026-12-09T21:45:00Z")";

  auto decoded = TarnRemoteInputPayload::decode(payloadText("primaryClick", complete));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->x, 1.7);
  EXPECT_FALSE(decoded->text);

  auto withNullText = TarnRemoteInputPayload::decode(payloadText("primaryClick", complete + R"(,"text":null)"));
  ASSERT_TRUE(withNullText);
  EXPECT_FALSE(withNullText->text);

  EXPECT_FALSE(TarnRemoteInputPayload::decode(payloadText("Right Click", complete)));
  EXPECT_FALSE(TarnRemoteInputPayload::decode(payloadText("primaryClick", R"(,"label":"Click")")));
  EXPECT_FALSE(TarnRemoteInputPayload::decode(
      payloadText("primaryClick", R"(,"createdAt":"2026-12-09T21:45:00Z")")));
  EXPECT_FALSE(TarnRemoteInputPayload::decode("x=1"));
}

TEST(TarnRemoteInputAction, EveryActionHasItsNameTitleAndSymbol) {
  struct Case {
    TarnRemoteInputAction action;
    const char* name;
    const char* title;
    const char* symbol;
  };
  using A = TarnRemoteInputAction;
  const Case cases[] = {
      {A::pointerMove, "pointerMove", "Pointer Move", "cursorarrow.motionlines"},
      {A::primaryClick, "primaryClick", "Primary Click", "cursorarrow.click.2"},
      {A::secondaryClick, "secondaryClick", "Right Click", "contextualmenu.and.cursorarrow"},
      {A::scroll, "scroll", "Scroll", "scroll"},
      {A::pinchZoom, "pinchZoom", "Pinch Zoom", "plus.magnifyingglass"},
      {A::missionControl, "missionControl", "Mission Control", "rectangle.3.group"},
      {A::keyboard, "keyboard", "Keyboard", "keyboard"},
      {A::typeText, "typeText", "Type Text", "text.cursor"},
      {A::smartPaste, "smartPaste", "Smart Paste", "doc.on.clipboard"},
      {A::openTerminal, "openTerminal", "Open Terminal", "terminal"},
      {A::privacyShield, "privacyShield", "Privacy Shield", "eye.slash"},
      {A::keepAwake, "keepAwake", "Keep Mac Awake", "cup.and.heat.waves"},
      {A::sleepDisplay, "sleepDisplay", "Sleep Display", "display"},
      {A::lockMac, "lockMac", "Lock Mac", "lock"},
      {A::sleepMac, "sleepMac", "Sleep Mac", "moon.zzz.fill"},
      {A::restartMac, "restartMac", "Restart Mac", "arrow.clockwise"},
      {A::logOutMac, "logOutMac", "Log Out Mac", "rectangle.portrait.and.arrow.right"},
      {A::shutdownMac, "shutdownMac", "Shut Down Mac", "power"},
  };
  ASSERT_EQ(std::size(cases), allCases<TarnRemoteInputAction>().size());
  for (const auto& c : cases) {
    EXPECT_EQ(rawValue(c.action), c.name);
    EXPECT_EQ(enumFromRawValue<TarnRemoteInputAction>(c.name), c.action);
    EXPECT_EQ(title(c.action), c.title);
    EXPECT_EQ(symbol(c.action), c.symbol);
  }
}
