#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

using testing_support::RecordingDelegate;
using testing_support::screenRows;

const std::string esc = "\x1b";
const std::string csi = "\x1b[";

class TerminalDispatch : public testing::Test {
protected:
    std::string logOf(const std::string& input)
    {
        terminal.silentLog = false;
        testing::internal::CaptureStdout();
        terminal.feed(input);
        return testing::internal::GetCapturedStdout();
    }

    RecordingDelegate delegate;
    Terminal terminal {&delegate, TerminalOptions {.cols = 10, .rows = 5}};
};

TEST_F(TerminalDispatch, CsiSSavesWithoutMarginsAndSetsMarginsWithThem)
{
    terminal.feed(csi + "2;3H" + csi + "s" + csi + "5;5H" + csi + "u");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {2, 1}));
    terminal.feed(csi + "?69h" + csi + "3;6s");
    EXPECT_EQ(terminal.buffer().marginLeft, 2);
    EXPECT_EQ(terminal.buffer().marginRight, 5);
    terminal.feed(csi + "?69l" + csi + "4;4H" + csi + "?s" + csi + "1;1H" + csi + "u");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {2, 1}));
}

TEST_F(TerminalDispatch, TitleModesSetAndReset)
{
    terminal.feed(csi + ">0;2t");
    EXPECT_TRUE(terminal.xtermTitleSetHex);
    EXPECT_TRUE(terminal.xtermTitleSetUtf);
    terminal.feed(csi + ">0T");
    EXPECT_FALSE(terminal.xtermTitleSetHex);
    EXPECT_TRUE(terminal.xtermTitleSetUtf);
    EXPECT_EQ(logOf(csi + "?1t"), "Info: Unhandled csiT [63]\n");
}

TEST_F(TerminalDispatch, ForwardTabsStopShortOfTheLastColumnOnTinyScreens)
{
    Terminal tiny(&delegate, TerminalOptions {.cols = 2, .rows = 1});
    tiny.feed(csi + "3I");
    EXPECT_EQ(tiny.getCursorLocation(), (std::pair {1, 0}));
}

TEST_F(TerminalDispatch, UnknownDesignatorsAndSingleShiftsGoToTheFallback)
{
    EXPECT_EQ(logOf(esc + "(9" + esc + "N" + esc + "O"),
        "Info: Brevlin: Unknown ESC Code: ESC + 9 txt=[40]\n"
        "Info: Brevlin: Unknown ESC Code: ESC + N txt=[]\n"
        "Info: Brevlin: Unknown ESC Code: ESC + O txt=[]\n");
    EXPECT_EQ(terminal.charset, nullptr);
}

TEST_F(TerminalDispatch, ProgressWithoutAReportGoesToTheOscFallback)
{
    EXPECT_EQ(logOf("\x1b]9;x\a"), "Info: Brevlin: Unknown OSC code: 9\n");
}

TEST_F(TerminalDispatch, InvokingAnUnknownSetLeavesTextUntranslated)
{
    terminal.feed(esc + "(0");
    ASSERT_NE(terminal.charset, nullptr);
    terminal.setgLevel(5);
    EXPECT_EQ(terminal.charset, nullptr);
    terminal.feed("q");
    EXPECT_EQ(screenRows(terminal)[0], "q");
}

TEST_F(TerminalDispatch, LineFeedLeftOfTheMarginOnTheBottomRowDoesNothing)
{
    terminal.feed("top" + csi + "?69h" + csi + "4;8s" + csi + "5;1H" + "\n");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {0, 4}));
    EXPECT_EQ(screenRows(terminal)[0], "top");
}

TEST_F(TerminalDispatch, CarriageReturnLeftOfTheMarginGoesToColumnZero)
{
    terminal.feed(csi + "?69h" + csi + "4;8s" + csi + "1;3H\r");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {0, 0}));
    terminal.feed(csi + "1;6H\r");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {3, 0}));
}

TEST_F(TerminalDispatch, ReverseWrapFromTheTopOfTheRegionGoesToItsBottomRight)
{
    terminal.feed(csi + "?45h" + csi + "2;4r" + csi + "2;1H\b");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {9, 3}));
}

TEST_F(TerminalDispatch, EightBitControlsAreExecutedInsideSequencesOnly)
{
    terminal.feed("a\x84");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {1, 0}));
    terminal.feed("\x1b\x84");
    EXPECT_EQ(terminal.getCursorLocation(), (std::pair {1, 1}));
}

} // namespace
} // namespace brevlin
