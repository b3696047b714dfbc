#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

using testing_support::RecordingDelegate;
using testing_support::screenRows;

struct ScreenCase {
    const char* name;
    int cols;
    int rows;
    std::string input;
    std::vector<std::string> expectedRows;
    std::pair<int, int> expectedCursor;

    friend void PrintTo(const ScreenCase& c, std::ostream* out) { *out << c.name; }
};

class TerminalScreens : public testing::TestWithParam<ScreenCase> {};

TEST_P(TerminalScreens, ShowTheExpectedScreenAndCursor)
{
    const ScreenCase& c = GetParam();
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = c.cols, .rows = c.rows});
    terminal.feed(c.input);
    EXPECT_EQ(screenRows(terminal), c.expectedRows);
    EXPECT_EQ(terminal.getCursorLocation(), c.expectedCursor);
}

const std::string esc = "\x1b";
const std::string csi = "\x1b[";

INSTANTIATE_TEST_SUITE_P(Streams, TerminalScreens,
    testing::Values(
        ScreenCase {"PlainText", 10, 3, "hello", {"hello", "", ""}, {5, 0}},
        ScreenCase {"CarriageReturnLineFeed", 10, 3, "ab\r\ncd", {"ab", "cd", ""}, {2, 1}},
        ScreenCase {"LineFeedKeepsTheColumn", 10, 3, "ab\ncd", {"ab", "  cd", ""}, {4, 1}},
        ScreenCase {"FillingTheRowLeavesAPendingWrap", 10, 3, "abcdefghij", {"abcdefghij", "", ""}, {10, 0}},
        ScreenCase {"PrintingAtThePendingWrapWraps", 10, 3, "abcdefghijKL", {"abcdefghij", "KL", ""}, {2, 1}},
        ScreenCase {"LineFeedAfterTheLastColumnStaysInIt", 10, 3, "abcdefghij\n", {"abcdefghij", "", ""}, {9, 1}},
        ScreenCase {"WrapAtTheBottomScrolls", 4, 2, "abcdefghij", {"efgh", "ij"}, {2, 1}},
        ScreenCase {"NoAutoWrapOverwritesTheLastCell", 10, 3, csi + "?7labcdefghijKL", {"abcdefghiL", "", ""}, {10, 0}},
        ScreenCase {"WideCharacterDoesNotSplitAtTheEdge", 10, 3, "abcdefghi\u4e2d", {"abcdefghi", "\u4e2d", ""}, {2, 1}},
        ScreenCase {"WideCharacters", 10, 3, "\u4e2d\u6587x", {"\u4e2d\u6587x", "", ""}, {5, 0}},
        ScreenCase {"AsciiRunsBetweenOtherCharactersPrintOnce", 6, 2, "a\u00e9bc\u4e2dde", {"a\u00e9bc\u4e2d", "de"}, {2, 1}},
        ScreenCase {"InsertModeShiftsTheRow", 10, 3, "abc\r" + csi + "4hXY", {"XYabc", "", ""}, {2, 0}},
        ScreenCase {"RightMarginIsTheWrapPoint", 10, 3, csi + "?69h" + csi + "3;6s" + csi + "1;3Habcdefg",
            {"  abcd", "  efg", ""}, {5, 1}},
        ScreenCase {"ScrollsAtTheBottom", 5, 3, "1\r\n2\r\n3\r\n4", {"2", "3", "4"}, {1, 2}},
        ScreenCase {"ScrollRegionKeepsRowsOutside", 5, 4, "top\r\n" + csi + "2;3r" + csi + "2H1\r\n2\r\n3" + csi + "r" + csi + "4Hbot",
            {"top", "2", "3", "bot"}, {3, 3}},
        ScreenCase {"LineFeedBelowTheRegionOnTheLastRowDoesNothing", 5, 4, csi + "1;2r" + csi + "4Hx\n", {"", "", "", "x"}, {1, 3}},
        ScreenCase {"ReverseIndexAtTheTopInsertsALine", 5, 3, "a\r\nb\r\nc" + csi + "H" + esc + "M", {"", "a", "b"}, {0, 0}},
        ScreenCase {"CursorPositionAndErase", 6, 3, "abcdef\r\nghijkl" + csi + "1;3H" + csi + "K" + csi + "2;2H" + csi + "1K",
            {"ab", "  ijkl", ""}, {1, 1}},
        ScreenCase {"EraseBelow", 4, 3, "aaaa\r\nbbbb\r\ncccc" + csi + "2;3H" + csi + "J", {"aaaa", "bb", ""}, {2, 1}},
        ScreenCase {"InsertAndDeleteLines", 4, 3, "a\r\nb\r\nc" + csi + "2H" + csi + "L" + csi + "3H" + csi + "M", {"a", "", ""}, {0, 2}},
        ScreenCase {"InsertAndDeleteCharacters", 8, 1, "abcdef" + csi + "3G" + csi + "2@" + csi + "1G" + csi + "P", {"b  cdef"}, {0, 0}},
        ScreenCase {"Tabs", 20, 1, "a\tb\tc", {"a       b       c"}, {17, 0}},
        ScreenCase {"BackspaceAtColumnZeroStays", 5, 2, "\bab\b\bX", {"Xb", ""}, {1, 0}},
        ScreenCase {"ReverseWrapGoesToTheRowAbove", 5, 3, csi + "?45h" + csi + "2H\b" + "X", {"    X", "", ""}, {5, 0}},
        ScreenCase {"LineFeedModeReturns", 5, 3, csi + "20hab\ncd", {"ab", "cd", ""}, {2, 1}},
        ScreenCase {"SaveAndRestoreCursor", 8, 2, "ab" + esc + "7" + csi + "2;5Hx" + esc + "8c", {"abc", "    x"}, {3, 0}},
        ScreenCase {"LineDrawingCharacters", 6, 1, esc + "(0lqqk" + esc + "(Bq", {"\u250c\u2500\u2500\u2510q"}, {5, 0}},
        ScreenCase {"UnitedKingdomPound", 4, 1, esc + "(A#a", {"\u00a3a"}, {2, 0}},
        ScreenCase {"ShiftOutUsesG1", 4, 1, esc + ")0\x0eq\x0fq", {"\u2500q"}, {2, 0}},
        ScreenCase {"CombiningMarkJoinsTheCell", 5, 1, "e\u0301x", {"e\u0301x"}, {2, 0}},
        ScreenCase {"CombiningMarkAfterCursorMotionJoinsTheLastPrintedCell", 5, 1, "ab" + csi + "1G\u0301", {"ab\u0301"}, {0, 0}},
        ScreenCase {"EmojiPresentationWidensTheCell", 5, 1, "\u2764\ufe0fx", {"\u2764\ufe0fx"}, {3, 0}},
        ScreenCase {"EmojiPresentationAfterALetterIsDropped", 5, 1, "a\ufe0fb", {"ab"}, {2, 0}},
        ScreenCase {"FlagPairsJoinTwoByTwo", 8, 1, "\U0001F1E9\U0001F1EA\U0001F1EB", {"\U0001F1E9\U0001F1EA\U0001F1EB"}, {4, 0}},
        ScreenCase {"InvalidUtf8ShowsTheLeadByte", 5, 1, "\xe9  x", {"\u00e9  x"}, {4, 0}},
        ScreenCase {"DeleteAndC1BytesPrintNothing", 5, 1, "a\x7f\xc2\x85" "b", {"ab"}, {2, 0}},
        ScreenCase {"ControlByteInsideAPrintRunPrintsNothing", 5, 1, "a\x19" "b", {"ab"}, {2, 0}},
        ScreenCase {"RepeatPrecedingCharacter", 8, 1, "ab" + csi + "3b", {"abbbb"}, {5, 0}},
        ScreenCase {"AlternateScreenKeepsTheNormalOne", 5, 2, "n" + csi + "?1049hA" + csi + "?1049l", {"n", ""}, {1, 0}},
        ScreenCase {"ScreenAlignmentPattern", 3, 2, esc + "#8", {"EEE", "EEE"}, {0, 0}},
        ScreenCase {"FullResetClearsTheScreen", 5, 2, "abc" + esc + "c", {"", ""}, {0, 0}}),
    [](const testing::TestParamInfo<ScreenCase>& info) { return info.param.name; });

TEST(TerminalPrinting, CompletesAUtf8CharacterSplitAcrossFeeds)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 5, .rows = 1});
    terminal.feed(std::string_view("a\xe4\xb8"));
    EXPECT_EQ(screenRows(terminal), std::vector<std::string> {"a"});
    terminal.feed(std::string_view("\xad" "b"));
    EXPECT_EQ(screenRows(terminal), std::vector<std::string> {"a\u4e2db"});
}

TEST(TerminalPrinting, InternsGraphemesOnceAndKeepsBmpCodes)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 10, .rows = 1});
    terminal.feed("e\u0301e\u0301\U0001F600\u00e9");
    const BufferLine& line = terminal.buffer().lines[0];
    EXPECT_GE(line[0].code, 0x400001);
    EXPECT_EQ(line[1].code, line[0].code);
    EXPECT_GT(line[2].code, line[0].code);
    EXPECT_EQ(line[4].code, 0xE9);
}

TEST(TerminalPrinting, MarksTheNextRowWrappedWhenTextWraps)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 4, .rows = 3});
    terminal.feed("abcdef\r\nxy");
    const Buffer& buffer = terminal.buffer();
    EXPECT_FALSE(buffer.lines[0].isWrapped);
    EXPECT_TRUE(buffer.lines[1].isWrapped);
    EXPECT_FALSE(buffer.lines[2].isWrapped);
}

TEST(TerminalPrinting, LeavesTheLastColumnEmptyWhenAWideCharacterWraps)
{
    RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 4, .rows = 2});
    terminal.feed("abc\u4e2d");
    EXPECT_EQ(terminal.buffer().lines[0][3].code, 0);
    EXPECT_EQ(terminal.buffer().lines[1][0].width, 2);
}

} // namespace
} // namespace brevlin
