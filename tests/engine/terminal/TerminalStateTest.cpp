#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace brevlin {
namespace {

using testing_support::RecordingDelegate;
using testing_support::screenRows;

const std::string csi = "\x1b[";

struct ReplyCase {
    const char* name;
    std::string input;
    std::string expectedReplies;

    friend void PrintTo(const ReplyCase& c, std::ostream* out) { *out << c.name; }
};

class TerminalReplies : public testing::TestWithParam<ReplyCase> {};

TEST_P(TerminalReplies, SendTheExpectedBytes)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 20, .rows = 5});
    terminal.feed(GetParam().input);
    EXPECT_EQ(delegate.allReplies(), GetParam().expectedReplies);
}

INSTANTIATE_TEST_SUITE_P(Streams, TerminalReplies,
    testing::Values(
        ReplyCase {"CursorPosition", csi + "3;7H" + csi + "6n", "\x1b[3;7R"},
        ReplyCase {"CursorPositionInOriginMode", csi + "2;4r" + csi + "?6h" + csi + "2;3H" + csi + "6n", "\x1b[2;3R"},
        ReplyCase {"CursorPositionAtAPendingWrap", std::string(20, 'x') + csi + "6n", "\x1b[1;20R"},
        ReplyCase {"StatusReport", csi + "5n", "\x1b[0n"},
        ReplyCase {"EightBitIntroducers", "\x1b G" + csi + "5n", "\x9b" "0n"},
        ReplyCase {"BackToSevenBit", "\x1b G\x1b F" + csi + "5n", "\x1b[0n"},
        ReplyCase {"UnknownSequencesSendNothing", csi + "?5W\x1b,A\x1b]5555;x\a", ""}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST(TerminalCore, ClampsTheSizeOfNewTerminals)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 0, .rows = 0});
    EXPECT_EQ(terminal.getDims(), (std::pair {2, 1}));
}

TEST(TerminalCore, StartsWithPowerOnModes)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    EXPECT_TRUE(terminal.wraparound);
    EXPECT_FALSE(terminal.originMode || terminal.marginMode || terminal.insertMode || terminal.applicationCursor
        || terminal.bracketedPasteMode || terminal.cursorHidden);
    EXPECT_TRUE(terminal.silentLog);
    EXPECT_EQ(terminal.mouseMode(), MouseMode::off);
    EXPECT_FALSE(terminal.isCurrentBufferAlternate());
    EXPECT_EQ(terminal.gCharsets, (std::array<const CharacterSetTable*, 4> {}));
    EXPECT_EQ(terminal.ansiColors.size(), 256u);
}

TEST(TerminalCore, ForegroundColourReachesTheDelegateOnceAndRebuildsThePalette)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.setForegroundColor(Color::fromBytes(1, 2, 3));
    EXPECT_EQ(delegate.foregroundCalls, 1);
    EXPECT_EQ(terminal.foregroundColor(), Color::fromBytes(1, 2, 3));
    EXPECT_EQ(delegate.colorChanges, (std::vector<std::optional<int>> {std::nullopt}));
}

TEST(TerminalCore, InstallsOnlyPalettesOfSixteenColours)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    const std::vector<Color> before = terminal.installedColors;
    terminal.installPalette(std::vector<Color>(15, Color::fromBytes(9, 9, 9)));
    terminal.installPalette(std::vector<Color>(17, Color::fromBytes(9, 9, 9)));
    EXPECT_EQ(terminal.installedColors, before);
    terminal.installPalette(std::vector<Color>(16, Color::fromBytes(9, 9, 9)));
    EXPECT_EQ(terminal.ansiColors[3], Color::fromBytes(9, 9, 9));
}

TEST(TerminalCore, ChangingThePaletteStrategyRebuildsOnlyOnChange)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.setAnsi256PaletteStrategy(Ansi256PaletteStrategy::base16Lab);
    EXPECT_TRUE(delegate.colorChanges.empty());
    terminal.setAnsi256PaletteStrategy(Ansi256PaletteStrategy::xterm);
    EXPECT_EQ(delegate.colorChanges.size(), 1u);
}

TEST(TerminalCore, FocusReportsOnlyWhenEnabled)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.setTerminalFocus(true);
    EXPECT_TRUE(delegate.replies.empty());
    terminal.feed(csi + "?1004h\x1b G");
    terminal.setTerminalFocus(true);
    terminal.setTerminalFocus(false);
    EXPECT_EQ(delegate.allReplies(), "\x9bI\x9bO");
}

TEST(TerminalCore, ReadsCellsOnlyInsideTheScreen)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 5, .rows = 2});
    terminal.feed("abc");
    EXPECT_EQ(terminal.getLine(2), nullptr);
    EXPECT_FALSE(terminal.getCharData(5, 0).has_value());
    EXPECT_EQ(terminal.getCharData(2, 0)->code, 'c');
    EXPECT_EQ(terminal.getCharacter(0, 0), U"a");
}

TEST(TerminalCore, TitlesAndBell)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.feed("\x1b]0;first\a\x1b]2;second\x1b\\\x1b]1;icon\a\a");
    EXPECT_EQ(delegate.titles, (std::vector<std::string> {"first", "second"}));
    EXPECT_EQ(terminal.terminalTitle, "second");
    EXPECT_EQ(terminal.iconTitle, "icon");
    EXPECT_EQ(delegate.bells, 1);
}

TEST(TerminalCore, RegisteredOscHandlerReplacesTheBuiltInOne)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    std::string seen;
    terminal.registerOscHandler(0, [&seen](ByteSpan data) { seen = "first:" + std::string(data.begin(), data.end()); });
    terminal.registerOscHandler(0, [&seen](ByteSpan data) { seen = "second:" + std::string(data.begin(), data.end()); });
    terminal.feed("\x1b]0;title\a");
    EXPECT_EQ(seen, "second:title");
    EXPECT_TRUE(delegate.titles.empty());
}

TEST(TerminalCore, LogsUnknownSequencesUnlessSilent)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    testing::internal::CaptureStdout();
    terminal.feed(csi + "?5W");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    terminal.silentLog = false;
    testing::internal::CaptureStdout();
    terminal.feed(csi + "?5W\x1b,A\x1b]5555;x\a");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
        "Info: Brevlin: Unknown CSI Code (collect=[63] code=W pars=[5])\n"
        "Info: Brevlin: Unknown ESC Code: ESC + A txt=[44]\n"
        "Info: Brevlin: Unknown OSC code: 5555\n");
}

TEST(TerminalCore, ProgressReportsParseOrFallBack)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    auto parse = [&terminal](const std::string& text) {
        return terminal.parseProgressReport(ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    using enum ProgressReportState;
    EXPECT_EQ(parse("4;1;42"), (ProgressReport {set, 42}));
    EXPECT_EQ(parse("4;1"), (ProgressReport {set, 0}));
    EXPECT_EQ(parse("4;1;250"), (ProgressReport {set, 100}));
    EXPECT_EQ(parse("4;1;-5"), (ProgressReport {set, 0}));
    EXPECT_EQ(parse("4;0;50"), (ProgressReport {remove, std::nullopt}));
    EXPECT_EQ(parse("4;3"), (ProgressReport {indeterminate, std::nullopt}));
    EXPECT_EQ(parse("4;2;7"), (ProgressReport {error, 7}));
    for (const char* invalid : {"4;0;x", "4;12;5", "4;;5", "4;9", "1;1;50"})
        EXPECT_FALSE(parse(invalid).has_value()) << invalid;
}

// Scrolling and the dirty ranges.

TEST(TerminalScrolling, LineFeedsAtTheBottomFillTheScrollback)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.feed(csi + "25H");
    for (int i = 0; i < 25; ++i)
        terminal.feed("\n");
    EXPECT_EQ(terminal.buffer().yBase, 25);
    EXPECT_EQ(terminal.buffer().yDisp(), 25);
    EXPECT_EQ(delegate.scrolls, 25);
}

TEST(TerminalScrolling, FullRingRecyclesAndFollowsAUserScrolledBack)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 10, .rows = 3, .scrollback = 2});
    terminal.feed("1\r\n2\r\n3\r\n4\r\n5");
    const Buffer& buffer = terminal.buffer();
    EXPECT_EQ(buffer.yBase, 2);
    EXPECT_EQ(buffer.linesTop, 0);
    terminal.userScrolling = true;
    terminal.feed("\r\n6\r\n7");
    EXPECT_EQ(buffer.yBase, 2);
    EXPECT_EQ(buffer.linesTop, 2);
    EXPECT_EQ(buffer.yDisp(), 0);
    EXPECT_EQ(testing_support::rowText(terminal, buffer, 0), "3");
}

TEST(TerminalScrolling, MarginModeScrollsOnlyTheColumnsInside)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 6, .rows = 3});
    terminal.feed("aaaaaa\r\nbbbbbb\r\ncccccc");
    terminal.feed(csi + "?69h" + csi + "2;4s" + csi + "3;2H\n");
    EXPECT_EQ(screenRows(terminal), (std::vector<std::string> {"abbbaa", "bcccbb", "c   cc"}));
}

TEST(TerminalScrolling, IndexAndLineFeedDifferBelowTheRegion)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 4, .rows = 4});
    terminal.feed("a\r\nb\r\nc" + csi + "1;2r" + csi + "3H" + "\x1b" "D");
    EXPECT_EQ(screenRows(terminal), (std::vector<std::string> {"b", "", "c", ""}));
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {0, 2}));
}

TEST(TerminalScrolling, ColumnScrollsAtTheMargins)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 4, .rows = 1});
    terminal.feed("abcd" + csi + "1G\x1b" "6");
    EXPECT_EQ(screenRows(terminal), (std::vector<std::string> {" abc"}));
    terminal.feed(csi + "4G\x1b" "9");
    EXPECT_EQ(screenRows(terminal), (std::vector<std::string> {"abc"}));
}

TEST(TerminalScrolling, DirtyRangesGrowUntilCleared)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    EXPECT_FALSE(terminal.getUpdateRange().has_value());
    terminal.updateRange(-1);
    EXPECT_FALSE(terminal.getUpdateRange().has_value());
    terminal.updateRange(3);
    terminal.updateRange(1);
    EXPECT_EQ(terminal.getUpdateRange(), (std::pair {1, 3}));
    terminal.clearUpdateRange();
    terminal.updateFullScreen();
    EXPECT_EQ(terminal.getUpdateRange(), (std::pair {0, 25}));
}

TEST(TerminalScrolling, ResetKeepsTheSizeAndTheHiddenCursor)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.resize(40, 10);
    terminal.feed(csi + "?25l" + csi + "?7l\x1b" "c");
    EXPECT_EQ(terminal.getDims(), (std::pair {40, 10}));
    EXPECT_TRUE(terminal.cursorHidden);
    EXPECT_TRUE(terminal.wraparound);
}

TEST(TerminalScrolling, ResizeClampsAndSkipsTheSameSize)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.resize(1, 0);
    EXPECT_EQ(terminal.getDims(), (std::pair {2, 1}));
    EXPECT_EQ(terminal.options.cols, 2);
    terminal.feed(csi + "?2026h");
    terminal.resize(2, 1);
    EXPECT_TRUE(terminal.synchronizedOutputActive());
    terminal.resize(30, 4);
    EXPECT_FALSE(terminal.synchronizedOutputActive());
}

// Synchronized output, with time-outs run by hand on the thread of the test.

class ManualExecutor : public TerminalExecutor {
public:
    void runAfter(std::chrono::milliseconds, std::function<void()> task) override { tasks.push_back(std::move(task)); }
    void runAll()
    {
        auto pending = std::move(tasks);
        tasks.clear();
        for (auto& task : pending)
            task();
    }
    std::vector<std::function<void()>> tasks;
};

class SynchronizedOutput : public testing::Test {
protected:
    RecordingDelegate delegate;
    ManualExecutor executor;
    Terminal terminal {&delegate, TerminalOptions {.cols = 5, .rows = 2}, &executor};
};

TEST_F(SynchronizedOutput, ShowsTheFrozenScreenUntilTheModeEnds)
{
    terminal.feed("old");
    terminal.feed(csi + "?2026hnew");
    EXPECT_EQ(screenRows(terminal, terminal.displayBuffer()), (std::vector<std::string> {"old", ""}));
    terminal.feed(csi + "?2026l");
    EXPECT_EQ(screenRows(terminal, terminal.displayBuffer()), (std::vector<std::string> {"oldne", "w"}));
    EXPECT_EQ(delegate.synchronizedOutput, (std::vector<bool> {true, false}));
    executor.runAll();
    EXPECT_EQ(delegate.synchronizedOutput.size(), 2u);
}

TEST_F(SynchronizedOutput, EndsWhenTheTimeOutFires)
{
    terminal.synchronizedOutputTimeout = std::chrono::milliseconds(0);
    terminal.feed(csi + "?2026h");
    executor.runAll();
    EXPECT_FALSE(terminal.synchronizedOutputActive());
    EXPECT_EQ(&terminal.displayBuffer(), &terminal.buffer());
    EXPECT_EQ(delegate.synchronizedOutput, (std::vector<bool> {true, false}));
}

TEST_F(SynchronizedOutput, AnExtendedBurstOutlivesTheFirstTimeOut)
{
    terminal.feed(csi + "?2026h" + csi + "?2026h");
    executor.runAll();
    EXPECT_TRUE(terminal.synchronizedOutputActive());
}

TEST_F(SynchronizedOutput, EndingWhileOffDoesNothing)
{
    terminal.feed(csi + "?2026l");
    EXPECT_TRUE(delegate.synchronizedOutput.empty());
}

TEST_F(SynchronizedOutput, KeepsTheNormalScreenCopyAcrossAScreenSwitch)
{
    terminal.feed("n" + csi + "?2026h" + csi + "?1049hA");
    EXPECT_FALSE(terminal.isDisplayBufferAlternate());
    EXPECT_EQ(screenRows(terminal, terminal.displayBuffer()), (std::vector<std::string> {"n", ""}));
}

TEST(SynchronizedOutputWithoutExecutor, ExpiresAtTheNextFeedAfterTheTimeOut)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.synchronizedOutputTimeout = std::chrono::milliseconds(0);
    terminal.feed(csi + "?2026h");
    terminal.feed("x");
    EXPECT_FALSE(terminal.synchronizedOutputActive());
}

// Mouse reports sent through the terminal.

TEST(TerminalMouse, ReportsInTheSelectedEncoding)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate);
    terminal.feed(csi + "?1000h" + csi + "?1006h");
    EXPECT_EQ(terminal.mouseMode(), MouseMode::vt200);
    const int flags = terminal.encodeButton(1, MouseButtonAction::press, {.shift = true});
    terminal.sendEvent(flags, 9, 4);
    terminal.sendMotion(0, 1, 1, 0, 0);
    EXPECT_EQ(delegate.allReplies(), "\x1b[<5;10;5M\x1b[<32;2;2M");
    delegate.replies.clear();
    terminal.feed(csi + "?1006l");
    terminal.sendEvent(0, 300, 0);
    EXPECT_TRUE(delegate.replies.empty());
}

} // namespace
} // namespace brevlin

namespace brevlin {
namespace {

TEST(TerminalPayloads, CollectionStopsAtTheFirstCodeStillOnScreen)
{
    testing_support::RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 5, .rows = 2});
    for (int i = 1; i <= 5; ++i)
        terminal.payloadAtoms.lookup("link" + std::to_string(i));
    terminal.feed("x");
    CharData cell = terminal.buffer().lines[0][0];
    cell.setPayload(TinyAtom {3});
    terminal.buffer().lines[0].setCell(0, cell);

    terminal.garbageCollectPayload();
    EXPECT_EQ(terminal.payloadAtoms.lastCollected, 2);
    EXPECT_EQ(terminal.payloadAtoms.target(TinyAtom {1}), nullptr);
    ASSERT_NE(terminal.payloadAtoms.target(TinyAtom {4}), nullptr);

    terminal.feed("\r" + csi + "K");
    terminal.garbageCollectPayload();
    EXPECT_EQ(terminal.payloadAtoms.lastCollected, 5);
}

TEST(TerminalScrolling, ChangingTheScrollbackDropsTheOldestLines)
{
    testing_support::RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 5, .rows = 2, .scrollback = 10});
    for (int i = 0; i < 12; ++i)
        terminal.feed(std::to_string(i) + "\r\n");
    terminal.changeScrollback(3);
    EXPECT_EQ(terminal.options.scrollback, 3);
    EXPECT_EQ(terminal.buffer().lines.count(), 5);
    EXPECT_EQ(testing_support::rowText(terminal, terminal.buffer(), 0), "11");
    terminal.changeScrollback(std::nullopt);
    EXPECT_EQ(terminal.options.scrollback, 0);
}

} // namespace
} // namespace brevlin

namespace brevlin {
namespace {

TEST(TerminalScreensSwitch, AlternateScreenIsFilledOnceAndKeptWithoutClear)
{
    testing_support::RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 5, .rows = 2});
    terminal.feed("n" + csi + "?47hA" + csi + "?47h");
    EXPECT_TRUE(terminal.isCurrentBufferAlternate());
    EXPECT_EQ(testing_support::rowText(terminal, terminal.buffer(), 0), " A");
    terminal.feed(csi + "?47l" + csi + "?47h");
    EXPECT_EQ(testing_support::rowText(terminal, terminal.buffer(), 0), " A");
    terminal.feed(csi + "?1047l" + csi + "?1047h");
    EXPECT_EQ(testing_support::rowText(terminal, terminal.buffer(), 0), "");
}

} // namespace
} // namespace brevlin
