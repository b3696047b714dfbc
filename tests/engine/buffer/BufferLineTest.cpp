#include "engine/buffer/BufferLine.h"

#include "tests/support/enginebuffer/BufferTestText.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

using testing::lineFromText;
using testing::textOfLine;

const CharData fill {'-', 1, {}, {}};

TEST(BufferLineTest, InsertAndDeleteCellsStayWithinTheRightMargin)
{
    const struct {
        const char* name;
        bool insert;
        int position;
        int n;
        int rightMargin;
        const char* expected;
    } cases[] = {
        {"insert shifts up to the margin", true, 3, 2, 5, "ABC--DGH"},
        {"insert past the margin fills to it", true, 4, 9, 5, "ABCD--GH"},
        {"insert just past the margin wraps to column 0", true, 6, 1, 5, "-ABCDEGH"},
        {"insert at the full width", true, 0, 3, 7, "---ABCDE"},
        {"delete pulls cells in from the margin", false, 1, 2, 5, "ADEF--GH"},
        {"delete more than the margin leaves fill", false, 1, 10, 3, "A---EFGH"},
        {"delete just past the margin does nothing", false, 6, 1, 5, "ABCDEFGH"},
        {"delete at the full width", false, 5, 1, 7, "ABCDEGH-"},
    };
    for (const auto& test : cases) {
        BufferLine line = lineFromText("ABCDEFGH", 8);
        if (test.insert)
            line.insertCells(test.position, test.n, test.rightMargin, fill);
        else
            line.deleteCells(test.position, test.n, test.rightMargin, fill);
        EXPECT_EQ(textOfLine(line), test.expected) << test.name;
    }
}

TEST(BufferLineTest, CopyWithinOneRowIsOverlapSafeAndClipped)
{
    BufferLine line = lineFromText("ABCDEFGH", 8);
    line.copyFrom(line, 0, 2, 5);
    EXPECT_EQ(textOfLine(line), "ABABCDEH");
    line.copyFrom(line, 3, 1, 4);
    EXPECT_EQ(textOfLine(line), "ABCDEDEH");
    line.copyFrom(lineFromText("XYZ", 3), 0, 6, 3);
    EXPECT_EQ(textOfLine(line), "ABCDEDXY") << "a copy past the end is cut, not written out of bounds";
}

TEST(BufferLineTest, TrimmedLengthCountsATrailingWideCharacter)
{
    EXPECT_EQ(lineFromText("........W", 10).getTrimmedLength(), 10);
    EXPECT_EQ(lineFromText("ab.c", 10).getTrimmedLength(), 4);
    EXPECT_EQ(BufferLine(10).getTrimmedLength(), 0);
}

TEST(BufferLineTest, OutOfRangeAccessIsRedirectedToTheLastCell)
{
    BufferLine line = lineFromText("abc", 3);
    ::testing::internal::CaptureStdout();
    line.setCell(3, CharData {'Z', 1, {}, {}});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
        "BufferLine: You passed an index out of range, adjusting to prevent crash, but you should debug\n");
    EXPECT_EQ(textOfLine(line), "abZ");
    EXPECT_EQ(line[99].code, 'Z');

    BufferLine empty(0);
    EXPECT_DEBUG_DEATH(empty.setCell(0, fill), "without cells");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(empty[0], CharData::Null), "without cells");
}

TEST(BufferLineTest, ClearKeepsWrapAndRenditionButDropsImages)
{
    BufferLine line = lineFromText("abc", 3);
    line.isWrapped = true;
    line.renderMode = BufferLine::RenderLineMode::doubleWidth;
    line.attach(nullptr);
    const Attribute red {Attribute::Color::ansi256(1), Attribute::Color::ansi256(1)};
    line.clear(red);
    EXPECT_TRUE(line.isWrapped);
    EXPECT_EQ(line.renderMode, BufferLine::RenderLineMode::doubleWidth);
    EXPECT_FALSE(line.images.has_value());
    EXPECT_EQ(line[1], (CharData {0, 1, {}, red}));
    EXPECT_TRUE(line.hasAnyContent()) << "a coloured blank is content";
}

TEST(BufferLineTest, ResizeKeepsCellsAndFillsNewOnes)
{
    BufferLine line = lineFromText("abc", 3);
    line.resize(5, fill);
    EXPECT_EQ(textOfLine(line), "abc--");
    line.resize(2, fill);
    EXPECT_EQ(textOfLine(line), "ab");
    line.resize(0, fill);
    EXPECT_EQ(line.count(), 0);
}

TEST(BufferLineTest, TranslateToString)
{
    const BufferLine line = lineFromText("aW.b..", 8);
    EXPECT_EQ(line.translateToString({.trimRight = true}), std::string("a\u4E00") + '\0' + '\0' + "b");
    EXPECT_EQ(line.translateToString({.trimRight = true, .skipNullCellsFollowingWide = true}), std::string("a\u4E00") + '\0' + "b");
    EXPECT_EQ(line.translateToString({.startCol = 4, .endCol = 5}), "b");
    EXPECT_EQ(BufferLine(5).translateToString({.trimRight = true}), "");
    EXPECT_EQ(line.translateToString({.trimRight = true, .startCol = 3, .endCol = 99},
                  [](const CharData& cell) { return cell.code == 0 ? std::string(" ") : std::string(1, char(cell.code)); }),
        " b");
}

} // namespace
} // namespace brevlin
