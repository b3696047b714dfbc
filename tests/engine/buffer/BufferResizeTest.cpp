#include "engine/buffer/Buffer.h"

#include "tests/support/enginebuffer/BufferTestText.h"

#include <gtest/gtest.h>

#include <string>

namespace brevlin {
namespace {

using testing::logicalLines;
using testing::newLine;
using testing::printText;
using testing::screenText;
using testing::textOfLine;

std::unique_ptr<Buffer> makeScreen(int cols, int rows, std::optional<int> scrollback = 200)
{
    auto buffer = std::make_unique<Buffer>(cols, rows, 8, scrollback);
    buffer->fillViewportRows();
    return buffer;
}

// A wide character is never cut: its continuation cell follows it on the same row.
::testing::AssertionResult wideCharactersAreWhole(Buffer& buffer)
{
    for (int row = 0; row < buffer.lines.count(); ++row) {
        const BufferLine& line = buffer.lines[row];
        for (int col = 0; col < line.count(); ++col) {
            const bool orphanLead = line[col].width == 2 && (col + 1 >= line.count() || line[col + 1].width != 0);
            const bool orphanTail = line[col].width == 0 && (col == 0 || line[col - 1].width != 2);
            if (orphanLead || orphanTail)
                return ::testing::AssertionFailure() << "row " << row << " col " << col << ": " << textOfLine(line);
        }
    }
    return ::testing::AssertionSuccess();
}

std::string repeat(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(BufferResizeTest, LongLineRejoinsWhenWiderAndSplitsWhenNarrower)
{
    auto screen = makeScreen(80, 5);
    Buffer& buffer = *screen;
    const std::string hundred = repeat("0123456789", 10);
    printText(buffer, hundred);
    newLine(buffer);
    newLine(buffer);
    ASSERT_EQ(buffer.y(), 3);

    buffer.resize(120, 5);
    EXPECT_EQ(screenText(buffer), (std::vector<std::string> {hundred, "", "", "", ""}));
    EXPECT_EQ(buffer.y(), 2) << "the cursor follows its row up";
    EXPECT_EQ(buffer.lines.count(), 5);

    buffer.resize(80, 5);
    EXPECT_EQ(screenText(buffer)[0], hundred.substr(0, 80));
    EXPECT_EQ(screenText(buffer)[1], hundred.substr(80));
    EXPECT_TRUE(buffer.lines[buffer.yBase + 1].isWrapped);
    EXPECT_EQ(buffer.y(), 3);
}

TEST(BufferResizeTest, NarrowThenWidenGivesBackTheSameLogicalLines)
{
    const std::vector<std::string> content = {
        repeat("abcdefghij", 7),
        "short",
        repeat("aW", 30),
        "",
        repeat("WWWx", 12),
        repeat("z", 80),
        repeat("W", 40),
        "tail",
    };
    const struct {
        int narrow;
        int rows;
    } cases[] = {{33, 6}, {17, 10}, {9, 4}, {79, 25}, {2, 6}};
    for (const auto& test : cases) {
        auto screen = makeScreen(80, test.rows, 500);
        Buffer& buffer = *screen;
        for (const std::string& text : content) {
            printText(buffer, text);
            newLine(buffer);
        }
        printText(buffer, "$ ");
        // Blank rows below the prompt come and go with the screen; the text above it must not.
        const auto linesUpToPrompt = [&buffer] {
            auto lines = logicalLines(buffer);
            while (!lines.empty() && lines.back().empty())
                lines.pop_back();
            return lines;
        };
        const auto before = linesUpToPrompt();

        buffer.resize(test.narrow, test.rows);
        EXPECT_TRUE(wideCharactersAreWhole(buffer)) << test.narrow;
        EXPECT_EQ(linesUpToPrompt(), before) << "narrowed to " << test.narrow;
        EXPECT_EQ(textOfLine(buffer.lines[buffer.yBase + buffer.y()]).substr(0, 2), "$ ") << test.narrow;

        buffer.resize(80, test.rows);
        EXPECT_TRUE(wideCharactersAreWhole(buffer)) << test.narrow;
        EXPECT_EQ(linesUpToPrompt(), before) << "back from " << test.narrow;
        EXPECT_EQ(textOfLine(buffer.lines[buffer.yBase + buffer.y()]).substr(0, 3), "$ .") << test.narrow;
        EXPECT_EQ(buffer.x(), std::min(2, test.narrow - 1)) << "narrowing clamps the cursor column";
        EXPECT_LE(buffer.yBase + buffer.rows(), buffer.lines.count());
        EXPECT_EQ(buffer.yDisp(), buffer.yBase);
    }
}

TEST(BufferResizeTest, TheCursorGroupKeepsItsRows)
{
    auto screen = makeScreen(10, 4);
    Buffer& buffer = *screen;
    printText(buffer, "0123456789abcde");
    ASSERT_EQ(buffer.y(), 1);
    buffer.resize(20, 4);
    EXPECT_EQ(screenText(buffer)[0], "0123456789");
    EXPECT_EQ(screenText(buffer)[1], "abcde");
    EXPECT_TRUE(buffer.lines[1].isWrapped);
    EXPECT_EQ(buffer.y(), 1);
}

TEST(BufferResizeTest, WideCharacterThatWouldStraddleTheEdgeMovesDown)
{
    auto screen = makeScreen(10, 4);
    Buffer& buffer = *screen;
    printText(buffer, "abcdeW");
    newLine(buffer);
    buffer.resize(6, 4);
    EXPECT_EQ(screenText(buffer)[0], "abcde");
    EXPECT_EQ(screenText(buffer)[1], "W_");
    EXPECT_EQ(Buffer::getWrappedLineTrimmedLength(buffer.lines[0], &buffer.lines[1], 6), 5);
    buffer.resize(10, 4);
    EXPECT_EQ(screenText(buffer)[0], "abcdeW_");
}

TEST(BufferResizeTest, RowChangesMoveTheViewport)
{
    {
        auto screen = makeScreen(10, 6);
        Buffer& buffer = *screen;
        for (int row = 0; row < 5; ++row)
            newLine(buffer);
        printText(buffer, "last");
        buffer.savedY = 5;
        buffer.resize(10, 3);
        EXPECT_EQ(buffer.yBase, 3) << "with the cursor on the last row the screen scrolls";
        EXPECT_EQ(buffer.yDisp(), 3);
        EXPECT_EQ(buffer.y(), 2);
        EXPECT_EQ(screenText(buffer)[2], "last");

        buffer.resize(10, 6);
        EXPECT_EQ(buffer.yBase, 0) << "growing pulls the scrollback back onto the screen";
        EXPECT_EQ(buffer.y(), 5);
        EXPECT_EQ(screenText(buffer)[5], "last");
    }
    {
        auto screen = makeScreen(10, 6);
        Buffer& buffer = *screen;
        printText(buffer, "top");
        buffer.resize(10, 3);
        EXPECT_EQ(buffer.yBase, 0) << "blank rows below the cursor are removed instead";
        EXPECT_EQ(buffer.lines.count(), 3);
        EXPECT_EQ(screenText(buffer)[0], "top");
    }
}

TEST(BufferResizeTest, ShrinkingTheCapacityDropsTheOldestRows)
{
    auto screen = makeScreen(10, 4, 2);
    Buffer& buffer = *screen;
    for (int row = 0; row < 5; ++row) {
        printText(buffer, std::string(1, char('a' + row)));
        newLine(buffer);
    }
    ASSERT_EQ(buffer.lines.count(), 6);
    ASSERT_EQ(buffer.yBase, 2);
    buffer.savedY = 1;
    buffer.resize(10, 2);
    EXPECT_EQ(buffer.lines.maxLength(), 4);
    EXPECT_EQ(buffer.lines.count(), 4);
    EXPECT_EQ(buffer.yBase, 2);
    EXPECT_EQ(buffer.savedY, 0);
    EXPECT_EQ(screenText(buffer), (std::vector<std::string> {"e", ""}));
}

TEST(BufferResizeTest, AnEmptyRingOnlyChangesTheFrame)
{
    Buffer buffer(10, 4, 8, 10);
    buffer.setX(3);
    buffer.setY(2);
    buffer.savedY = 1;
    buffer.marginRight = 9;
    buffer.resize(6, 3);
    EXPECT_EQ(buffer.x(), 3);
    EXPECT_EQ(buffer.y(), 2);
    EXPECT_EQ(buffer.savedY, 1);
    EXPECT_EQ(buffer.marginRight, 5);
    EXPECT_EQ(buffer.scrollBottom(), 2);
    EXPECT_EQ(buffer.tabStops.size(), 6u);
    EXPECT_EQ(buffer.lines.maxLength(), 13);
    EXPECT_EQ(buffer.cols(), 6);
}

TEST(BufferResizeTest, TheAlternateScreenIsNeverReflowed)
{
    auto screen = makeScreen(10, 3, std::nullopt);
    Buffer& buffer = *screen;
    printText(buffer, "0123456789ab");
    buffer.resize(5, 3);
    EXPECT_EQ(buffer.lines[0].count(), 10) << "narrowing keeps the longer rows";
    EXPECT_EQ(textOfLine(buffer.lines[0]), "0123456789");
    buffer.resize(20, 3);
    EXPECT_EQ(buffer.lines[0].count(), 20);
    EXPECT_EQ(screenText(buffer)[1], "ab");
}

} // namespace
} // namespace brevlin
