#include "host/input/TarnMacInputController.h"
#include "host/input/TarnRecordingSystemActions.h"
#include "platform/input/TarnRecordingClipboardWriter.h"
#include "platform/input/TarnRecordingInputInjector.h"
#include "tests/support/login1/TarnFakeLogin1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const QString accessibilitySentence =
    QStringLiteral("Enable Accessibility for Tarnhold Host before remote input can control the Mac.");

class FixedMonitors : public TarnMonitorLayout {
public:
  std::vector<TarnMonitor> monitors() override { return list; }
  // A secondary display left of the primary one, as in a real two-screen desk.
  std::vector<TarnMonitor> list = {{7, 0, 100, 800, 600, false}, {3, 800, 0, 1920, 1080, true}};
};

TarnRemoteInputPayload input(TarnRemoteInputAction action, double x = 0, double y = 0, double deltaX = 0,
                             double deltaY = 0, std::optional<std::string> text = std::nullopt) {
  TarnRemoteInputPayload payload(action, 0, 0, deltaX, deltaY, std::move(text));
  payload.x = x;  // as decoded: not clamped
  payload.y = y;
  return payload;
}

class TarnMacInputControllerTest : public ::testing::Test {
protected:
  QString perform(const TarnRemoteInputPayload& payload, std::optional<uint32_t> displayID = std::nullopt) {
    return controller.perform(payload, displayID);
  }
  TarnFakeLogin1 login1;
  TarnLogindClient logind{login1.connection(), QStringLiteral("c1")};
  TarnKeepAwake keepAwake{logind};
  TarnRecordingInputInjector injector;
  TarnRecordingClipboardWriter clipboard;
  TarnRecordingSystemActions system;
  FixedMonitors monitors;
  TarnMacInputController controller{{injector, clipboard, system, keepAwake, monitors}};
};
}  // namespace

TEST_F(TarnMacInputControllerTest, SystemActionsRunWithoutInputAccessAndSayWhenTheyFail) {
  struct Case {
    TarnRemoteInputAction action;
    const char* call;
    const char* started;
    const char* failed;
  };
  const Case cases[] = {
      {TarnRemoteInputAction::missionControl, "overview", "Mission Control opened on the Mac.",
       "Mission Control could not be opened on the Mac."},
      {TarnRemoteInputAction::openTerminal, "terminal", "Terminal opened on the Mac.",
       "Terminal could not be opened on the Mac."},
      {TarnRemoteInputAction::sleepDisplay, "display sleep", "Display sleep command sent to macOS.",
       "Display sleep command could not be sent to macOS."},
      {TarnRemoteInputAction::sleepMac, "suspend", "Sleep command sent to macOS.",
       "Sleep command could not be sent to macOS."},
      {TarnRemoteInputAction::restartMac, "reboot", "Restart command sent to macOS.",
       "Restart command could not be sent to macOS."},
      {TarnRemoteInputAction::logOutMac, "log out", "Log out command sent to macOS.",
       "Log out command could not be sent to macOS."},
      {TarnRemoteInputAction::shutdownMac, "power off", "Shut down command sent to macOS.",
       "Shut down command could not be sent to macOS."},
  };
  injector.available = false;
  for (bool succeeds : {true, false}) {
    system.succeeds = succeeds;
    for (const Case& test : cases) {
      system.calls.clear();
      EXPECT_EQ(perform(input(test.action)), QString::fromUtf8(succeeds ? test.started : test.failed));
      EXPECT_EQ(system.calls, std::vector<std::string>{test.call});
    }
  }
  EXPECT_TRUE(injector.calls.empty());
}

TEST_F(TarnMacInputControllerTest, InputActionsNeedInputAccess) {
  injector.available = false;
  const TarnRemoteInputAction actions[] = {
      TarnRemoteInputAction::pointerMove, TarnRemoteInputAction::primaryClick, TarnRemoteInputAction::secondaryClick,
      TarnRemoteInputAction::scroll,      TarnRemoteInputAction::pinchZoom,    TarnRemoteInputAction::keyboard,
      TarnRemoteInputAction::typeText,    TarnRemoteInputAction::smartPaste,   TarnRemoteInputAction::privacyShield,
      TarnRemoteInputAction::lockMac};
  for (TarnRemoteInputAction action : actions)
    EXPECT_EQ(perform(input(action, 0.5, 0.5, 30, 30, "text")), accessibilitySentence);
  EXPECT_TRUE(injector.calls.empty());
  EXPECT_TRUE(clipboard.texts.isEmpty());
  EXPECT_TRUE(system.calls.empty());
}

TEST_F(TarnMacInputControllerTest, PointerMovesLandInsideTheDisplay) {
  struct Case {
    double x, y;
    std::optional<uint32_t> displayID;
    const char* expected;
  };
  const Case cases[] = {
      {0.5, 0.5, std::nullopt, "move 1760 540"},  // the primary display, not the first listed
      {0, 0, 3, "move 800 0"},
      {1, 1, 3, "move 2719 1079"},  // the far edge is the last pixel, not one past it
      {-0.3, 1.7, 3, "move 800 1079"},
      {std::nan(""), 0.25, 3, "move 800 270"},
      {0.5, 0.5, 7, "move 400 400"},
      {1, 1, 7, "move 799 699"},
      {0.5, 0.5, 99, "move 1760 540"},  // a display that is gone: the main one
  };
  for (const Case& test : cases) {
    injector.calls.clear();
    EXPECT_EQ(perform(input(TarnRemoteInputAction::pointerMove, test.x, test.y), test.displayID),
              QStringLiteral("Pointer moved on the active Mac display."));
    EXPECT_EQ(injector.calls, std::vector<std::string>{test.expected}) << test.x << "," << test.y;
  }
}

TEST_F(TarnMacInputControllerTest, ClicksHappenWhereThePointerIs) {
  EXPECT_EQ(perform(input(TarnRemoteInputAction::primaryClick, 0.9, 0.9)), QStringLiteral("Primary click posted to the Mac."));
  EXPECT_EQ(perform(input(TarnRemoteInputAction::secondaryClick, 0.1, 0.1)),
            QStringLiteral("Secondary click posted to the Mac."));
  EXPECT_EQ(injector.calls, (std::vector<std::string>{"click left", "click right"}));
}

TEST_F(TarnMacInputControllerTest, ScrollTurnsPixelDeltasIntoWheelSteps) {
  const double infinity = std::numeric_limits<double>::infinity();
  struct Case {
    double deltaX, deltaY;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {12.9, -3.7, {"scroll down 1", "scroll left 1"}},
      {0, 45, {"scroll up 3"}},
      {-20, 0, {"scroll right 1"}},
      {0.9, -0.9, {}},  // truncated to nothing
      {std::nan(""), infinity, {}},
      {0, -1e12, {"scroll down 50"}},
  };
  for (const Case& test : cases) {
    injector.calls.clear();
    EXPECT_EQ(perform(input(TarnRemoteInputAction::scroll, 0, 0, test.deltaX, test.deltaY)),
              QStringLiteral("Scroll event posted to the Mac."));
    EXPECT_EQ(injector.calls, test.expected) << test.deltaX << "," << test.deltaY;
  }
}

TEST_F(TarnMacInputControllerTest, PinchZoomUsesControlWithMinusOrEquals) {
  EXPECT_EQ(perform(input(TarnRemoteInputAction::pinchZoom, 0, 0, 0, -0.5)),
            QStringLiteral("Zoom out shortcut posted to the Mac."));
  EXPECT_EQ(perform(input(TarnRemoteInputAction::pinchZoom, 0, 0, 0, 0)),
            QStringLiteral("Zoom in shortcut posted to the Mac."));
  EXPECT_EQ(injector.calls, (std::vector<std::string>{"key ctrl+0x2d", "key ctrl+0x3d"}));
}

TEST_F(TarnMacInputControllerTest, TypeTextTypesTheTextOrElseTheLabel) {
  const QString sentence = QStringLiteral("Pasted keyboard text into the active Mac app.");
  EXPECT_EQ(perform(input(TarnRemoteInputAction::typeText, 0, 0, 0, 0, "h\u00e9")), sentence);
  TarnRemoteInputPayload labelled = input(TarnRemoteInputAction::typeText);
  labelled.label = "ok";
  EXPECT_EQ(perform(labelled), sentence);
  EXPECT_EQ(perform(input(TarnRemoteInputAction::typeText, 0, 0, 0, 0, "")), sentence);
  // Every line ending is one Return, whether it came as LF, CR LF or CR.
  EXPECT_EQ(perform(input(TarnRemoteInputAction::typeText, 0, 0, 0, 0, "a\r\nb\nc\rd")), sentence);
  EXPECT_EQ(injector.calls, (std::vector<std::string>{"type 104 233", "type 111 107", "type 97 13 98 10 99 13 100"}));
  EXPECT_TRUE(clipboard.texts.isEmpty());  // the owner's clipboard is left alone
}

TEST_F(TarnMacInputControllerTest, SmartPastePutsTheTextOnTheClipboardThenPastes) {
  const QString sentence = QStringLiteral("Smart Paste staged text on the Mac and pasted into the active app.");
  EXPECT_EQ(perform(input(TarnRemoteInputAction::smartPaste, 0, 0, 0, 0, "line one\nline two")), sentence);
  EXPECT_EQ(clipboard.texts, QStringList{QStringLiteral("line one\nline two")});
  EXPECT_EQ(injector.calls, std::vector<std::string>{"key ctrl+0x76"});

  EXPECT_EQ(perform(input(TarnRemoteInputAction::smartPaste)), sentence);  // nothing to paste
  EXPECT_EQ(injector.calls.size(), 1u);

  clipboard.available = false;  // no clipboard: pasting would insert whatever was there before
  EXPECT_EQ(perform(input(TarnRemoteInputAction::smartPaste, 0, 0, 0, 0, "x")),
            QStringLiteral("Smart Paste could not stage text on the Mac clipboard."));
  EXPECT_EQ(injector.calls.size(), 1u);
}

TEST_F(TarnMacInputControllerTest, FixedAnswersAndLock) {
  EXPECT_EQ(perform(input(TarnRemoteInputAction::keyboard)),
            QStringLiteral("Keyboard relay is not active yet; remote pointer input remains available."));
  EXPECT_EQ(perform(input(TarnRemoteInputAction::privacyShield)),
            QStringLiteral("Privacy Shield request received. Display dimming requires the next host overlay milestone."));
  EXPECT_EQ(perform(input(TarnRemoteInputAction::lockMac)), QStringLiteral("Lock command sent to macOS."));
  system.succeeds = false;
  EXPECT_EQ(perform(input(TarnRemoteInputAction::lockMac)), QStringLiteral("Lock command could not be sent to macOS."));
  EXPECT_TRUE(injector.calls.empty());
}

TEST_F(TarnMacInputControllerTest, KeepAwakeSwitchesOnOnlyForExactlyOn) {
  ASSERT_TRUE(login1.isReady());
  EXPECT_EQ(perform(input(TarnRemoteInputAction::keepAwake, 0, 0, 0, 0, "on")),
            QStringLiteral("Tarnhold will keep this Mac awake during the session."));
  EXPECT_TRUE(keepAwake.isKeepingAwake());
  for (std::optional<std::string> text : {std::optional<std::string>("On"), std::optional<std::string>()}) {
    EXPECT_EQ(perform(input(TarnRemoteInputAction::keepAwake, 0, 0, 0, 0, text)),
              QStringLiteral("Tarnhold stopped keeping this Mac awake."));
    EXPECT_FALSE(keepAwake.isKeepingAwake());
  }
}
