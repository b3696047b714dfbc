#include "platform/displayserver/TarnXDisplay.h"
#include "platform/input/TarnXTestInjector.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

namespace {
class TarnXTestInjectorTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(server.isRunning());
    ASSERT_TRUE(recorder.start({TARN_KEY_RECORDER_PATH}));
    ASSERT_TRUE(recorder.waitForLine("READY"));
    ASSERT_TRUE(injector.isAvailable());
  }
  // The first `count` events the recorder saw after it was ready.
  std::vector<std::string> events(size_t count) {
    recorder.waitForLineCount(count + 1);
    std::vector<std::string> lines = recorder.lines();
    lines.erase(lines.begin());
    return lines;
  }

  TarnXvfbServer server{"1920x1080x24"};
  TarnChildProcess recorder;
  TarnXDisplay display{server.display()};
  TarnXTestInjector injector{display.get()};
};
}  // namespace

TEST_F(TarnXTestInjectorTest, PointerMovesClicksAndScrollsWhereItIs) {
  injector.movePointer({640, 360});
  EXPECT_EQ(injector.pointerLocation(), (TarnPointerLocation{640, 360}));
  injector.click(TarnPointerButton::left);
  injector.click(TarnPointerButton::right);
  injector.scroll(TarnScrollDirection::up, 2);
  injector.scroll(TarnScrollDirection::right, 1);
  EXPECT_EQ(events(5), (std::vector<std::string>{"BUTTON 1 640 360", "BUTTON 3 640 360", "BUTTON 4 640 360",
                                                   "BUTTON 4 640 360", "BUTTON 7 640 360"}));
}

TEST_F(TarnXTestInjectorTest, ShortcutsHoldControl) {
  injector.pressShortcut(TarnShortcutModifier::control, 'v');
  injector.pressShortcut(TarnShortcutModifier::none, 0xffeb);  // Super_L
  std::vector<std::string> lines = events(3);
  // Control itself is a key press too.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "KEY 0x76 state=0x4");
  EXPECT_EQ(lines[2], "KEY 0xffeb state=0x0");
}

TEST_F(TarnXTestInjectorTest, AShortcutKeyOnTheShiftLevelIsPressedWithShift) {
  injector.pressShortcut(TarnShortcutModifier::control, '+');  // Shift and "=" on this layout
  std::vector<std::string> lines = events(3);                  // Control, Shift, the key
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "KEY 0x2b state=0x5");
}

TEST_F(TarnXTestInjectorTest, TypesTextWhetherOrNotTheLayoutHasTheCharacters) {
  // Plain, shifted, off the layout (twice in a row on the same spare key), an emoji, Return.
  injector.typeText(U"aZ\u20ac\u00e4\u00e4\U0001F600\n");
  std::vector<std::string> lines = events(8);  // seven characters and Shift
  std::vector<std::string> typed;
  for (const std::string& line : lines)
    if (line.rfind("KEY 0xffe1", 0) != 0) typed.push_back(line.substr(0, line.find(' ', 4)));
  // The keymap changes announced to every client do not pile up unread on the injector's connection.
  EXPECT_EQ(XQLength(display.get()), 0);
  EXPECT_EQ(typed, (std::vector<std::string>{"KEY 0x61", "KEY 0x5a", "KEY 0x10020ac", "KEY 0xe4",
                                             "KEY 0xe4", "KEY 0x101f600", "KEY 0xff0d"}));
}

TEST_F(TarnXTestInjectorTest, LongTextBorrowsKeysBatchByBatchInOrder) {
  // More distinct characters off the layout than the keymap has free keys, mixed with plain ones.
  std::u32string text;
  std::vector<std::string> expected;
  for (char32_t letter = U'\u03b1'; letter <= U'\u03c9'; ++letter) {
    text += letter;
    text += U'x';
    char hex[16];
    std::snprintf(hex, sizeof hex, "KEY 0x%x", 0x01000000u | uint32_t(letter));
    expected.push_back(hex);
    expected.push_back("KEY 0x78");
  }
  text += U'\u03b1';  // lent in the first batch, taken back, needed again in the second
  expected.push_back("KEY 0x10003b1");
  injector.typeText(text);
  std::vector<std::string> typed;
  for (const std::string& line : events(expected.size())) typed.push_back(line.substr(0, line.find(' ', 4)));
  EXPECT_EQ(typed, expected);
}

TEST_F(TarnXTestInjectorTest, KeysTheLayoutTookSinceTheLastTextAreNotLent) {
  injector.typeText(U"\u20ac");  // lends the highest key without symbols, then frees it
  int minKeycode = 0, maxKeycode = 0;
  XDisplayKeycodes(display.get(), &minKeycode, &maxKeycode);
  int perKeycode = 0;
  KeySym* map = XGetKeyboardMapping(display.get(), KeyCode(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
  ASSERT_NE(map, nullptr);
  int freeKey = 0;
  for (int keycode = maxKeycode; keycode >= minKeycode && !freeKey; --keycode)
    if (map[(keycode - minKeycode) * perKeycode] == NoSymbol) freeKey = keycode;
  XFree(map);
  ASSERT_NE(freeKey, 0);

  // A new layout now puts a symbol on that key; typing must neither borrow nor clear it.
  KeySym section[2] = {0xa7, 0xa7};
  XChangeKeyboardMapping(display.get(), freeKey, 2, section, 1);
  XSync(display.get(), False);
  injector.typeText(U"\u00e6\u20ac");
  std::vector<std::string> typed;
  for (const std::string& line : events(3)) typed.push_back(line.substr(0, line.find(' ', 4)));
  EXPECT_EQ(typed, (std::vector<std::string>{"KEY 0x10020ac", "KEY 0xe6", "KEY 0x10020ac"}));
  int count = 0;
  map = XGetKeyboardMapping(display.get(), KeyCode(freeKey), 1, &count);
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map[0], KeySym(0xa7));
  XFree(map);
}
