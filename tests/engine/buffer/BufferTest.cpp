#include "engine/buffer/Buffer.h"

#include "tests/support/enginebuffer/BufferTestText.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

using testing::textOfLine;

const Attribute red {Attribute::Color::ansi256(1), Attribute::Color::ansi256(1)};

std::unique_ptr<Buffer> makeScreen(int cols, int rows, std::optional<int> scrollback = 100)
{
    auto buffer = std::make_unique<Buffer>(cols, rows, 8, scrollback);
    buffer->fillViewportRows();
    return buffer;
}

TEST(BufferTest, CapacityFollowsTheScrollback)
{
    Buffer normal(80, 25, 8, 500);
    EXPECT_EQ(normal.lines.maxLength(), 525);
    EXPECT_TRUE(normal.isReflowEnabled());
    Buffer alternate(80, 25, 8, std::nullopt);
    EXPECT_EQ(alternate.lines.maxLength(), 25);
    EXPECT_FALSE(alternate.isReflowEnabled());
    Buffer huge(80, 25, 8, 2147483647);
    EXPECT_EQ(huge.getCorrectBufferLength(25), 2147483647) << "no overflow";
}

TEST(BufferTest, ScrollingBeforeTheTerminalInstalledItsCallbackIsHarmless)
{
    Buffer buffer(10, 5, 8, 0);
    EXPECT_DEBUG_DEATH(buffer.scroll(LineWrap::unwrapped), "not installed");
}

TEST(BufferTest, GuardedSettersIgnoreNegativeValues)
{
    Buffer buffer(10, 5, 8, 0);
    buffer.setYDisp(3);
    buffer.setYDisp(-1);
    buffer.setX(-1);
    buffer.setScrollBottom(-2);
    EXPECT_EQ(buffer.yDisp(), 3);
    EXPECT_EQ(buffer.x(), 0);
    EXPECT_EQ(buffer.scrollBottom(), 4);
}

TEST(BufferTest, InsertCharacterAtTheRightEdge)
{
    auto screen = makeScreen(4, 2);
    Buffer& buffer = *screen;
    const CharData wide {0x4E00, 2, {}, red};
    buffer.setX(3);
    buffer.insertCharacter(wide);
    EXPECT_EQ(textOfLine(buffer.lines[0]), "....") << "a wide character that does not fit is dropped";
    EXPECT_EQ(buffer.x(), 3);

    buffer.insertCharacter(CharData {'a', 1, {}, {}});
    EXPECT_EQ(textOfLine(buffer.lines[0]), "...a");
    EXPECT_EQ(buffer.x(), 4) << "the cursor waits past the last column";
    EXPECT_EQ(buffer.lastBufferStorage.x, 3);

    buffer.insertCharacter(CharData {'b', 1, {}, {}});
    EXPECT_EQ(textOfLine(buffer.lines[0]), "...b") << "a pending wrap overwrites the last column";
}

TEST(BufferTest, WideCharacterContinuationTakesTheCharactersAttribute)
{
    auto screen = makeScreen(4, 2);
    Buffer& buffer = *screen;
    buffer.setX(1);
    buffer.insertCharacter(CharData {0x4E00, 2, {}, red});
    EXPECT_EQ(buffer.lines[0][2], (CharData {0, 0, {}, red}));
    EXPECT_EQ(buffer.x(), 3);
    EXPECT_EQ(buffer.lastBufferStorage.y, 0);
    EXPECT_EQ(buffer.lastBufferStorage.x, 1);
}

TEST(BufferTest, InsertAsciiRunStopsAtTheEndOfTheRow)
{
    auto screen = makeScreen(80, 2);
    Buffer& buffer = *screen;
    const std::vector<std::uint8_t> bytes(100, 'x');
    buffer.setX(70);
    EXPECT_EQ(buffer.insertAsciiRun(bytes, red), 10);
    EXPECT_EQ(buffer.x(), 80);
    EXPECT_EQ(buffer.lines[0][79], (CharData {'x', 1, {}, red}));
    EXPECT_EQ(buffer.lastBufferStorage.x, 79);
    EXPECT_EQ(buffer.insertAsciiRun(bytes, red), 0);
    EXPECT_EQ(buffer.insertAsciiRun({}, red), 0);
}

TEST(BufferTest, GetCharReadsTheViewportOrTheBuffer)
{
    auto screen = makeScreen(4, 2);
    Buffer& buffer = *screen;
    buffer.lines.push(std::make_unique<BufferLine>(testing::lineFromText("wxyz", 4)));
    buffer.yBase = 1;
    buffer.setYDisp(1);
    EXPECT_EQ(buffer.getChar({1, 1}).code, 'x');
    EXPECT_EQ(buffer.getCharAtBufferRelative({1, 2}).code, 'x');
    EXPECT_EQ(buffer.getChar({4, 1}), CharData::Null);
    EXPECT_EQ(buffer.getChar({-1, 1}), CharData::Null);
    EXPECT_EQ(buffer.getChar({0, 5}), CharData::Null);
}

TEST(BufferTest, TabStops)
{
    auto screen = makeScreen(80, 2);
    Buffer& buffer = *screen;
    EXPECT_EQ(buffer.previousTabStop(0), 0);
    EXPECT_EQ(buffer.previousTabStop(17), 16);
    EXPECT_EQ(buffer.previousTabStop(-5), -5);
    EXPECT_EQ(buffer.nextTabStop(TabStopLimit::lastColumn, 8), 16);
    EXPECT_EQ(buffer.nextTabStop(TabStopLimit::lastColumn, 78), 79);
    buffer.marginRight = 20;
    EXPECT_EQ(buffer.nextTabStop(TabStopLimit::rightMargin, 17), 20);
    buffer.setX(3);
    EXPECT_EQ(buffer.nextTabStop(TabStopLimit::lastColumn), 8);

    // Widening extends the stops from the last stop before the old edge on.
    buffer.tabStops[64] = false;
    buffer.resize(100, 2);
    buffer.setupTabStops(80, 8);
    EXPECT_TRUE(buffer.tabStops[80]);
    EXPECT_TRUE(buffer.tabStops[88]);
    EXPECT_TRUE(buffer.tabStops[96]);
    EXPECT_FALSE(buffer.tabStops[64]) << "stops before the old edge are left as they were";
}

TEST(BufferTest, ShrinkingTheHistoryDropsTheOldestRows)
{
    Buffer buffer(80, 25, 8, 500);
    for (int i = 0; i < 525; ++i)
        buffer.lines.push(buffer.getBlankLine(CharData::Null.attribute));
    buffer.yBase = 500;
    buffer.setYDisp(500);
    buffer.savedY = 10;
    buffer.changeHistorySize(100);
    EXPECT_EQ(buffer.lines.count(), 125);
    EXPECT_EQ(buffer.lines.maxLength(), 125);
    EXPECT_EQ(buffer.yBase, 100);
    EXPECT_EQ(buffer.yDisp(), 100);
    EXPECT_EQ(buffer.savedY, 0);

    buffer.changeHistorySize(std::nullopt);
    EXPECT_FALSE(buffer.hasScrollback());
    EXPECT_EQ(buffer.lines.count(), 25);
    EXPECT_EQ(buffer.yBase, 0);
}

TEST(BufferTest, ImageCountFollowsTheRows)
{
    Buffer buffer(4, 2, 8, std::nullopt);
    buffer.fillViewportRows();
    buffer.attachImage(nullptr, 1);
    buffer.attachImage(nullptr, 1);
    EXPECT_EQ(buffer.linesWithImagesCount(), 1);
    EXPECT_EQ(buffer.lines[1].images->size(), 2u);
    buffer.lines.recycle(Attribute());
    buffer.lines.recycle(Attribute());
    EXPECT_EQ(buffer.linesWithImagesCount(), 0) << "recycling the row with images lowers the count";

    buffer.attachImage(nullptr, 0);
    buffer.clearImagesFromLine(0);
    buffer.clearImagesFromLine(0);
    EXPECT_EQ(buffer.linesWithImagesCount(), 0);
    EXPECT_FALSE(buffer.hasAnyImages());
}

TEST(BufferTest, ClearAndSoftReset)
{
    auto screen = makeScreen(10, 3);
    Buffer& buffer = *screen;
    buffer.setX(4);
    buffer.setY(2);
    buffer.marginLeft = 2;
    buffer.savedX = 5;
    buffer.clear();
    EXPECT_EQ(buffer.lines.count(), 0);
    EXPECT_EQ(buffer.x(), 0);
    EXPECT_EQ(buffer.y(), 0);
    EXPECT_EQ(buffer.scrollBottom(), 2);
    EXPECT_EQ(buffer.marginLeft, 2) << "margins survive a clear";
    buffer.fillViewportRows(red);
    EXPECT_EQ(buffer.lines[2][0].attribute, red);

    buffer.softReset();
    EXPECT_EQ(buffer.marginLeft, 0);
    EXPECT_EQ(buffer.marginRight, 9);
    EXPECT_EQ(buffer.savedX, 0);
    EXPECT_EQ(buffer.savedAttr, CharData::Null.attribute);
}

} // namespace
} // namespace brevlin
