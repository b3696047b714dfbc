#include "engine/buffer/Buffer.h"

#include "tests/support/enginebuffer/BufferTestText.h"

#include <gtest/gtest.h>

#include <random>

namespace brevlin {
namespace {

// After any sequence of output and resizes the buffer must stay self-consistent: the screen lies
// inside the ring, every row is as wide as the screen and no wide character is cut in two.
::testing::AssertionResult isConsistent(Buffer& buffer)
{
    const int count = buffer.lines.count();
    if (buffer.yBase < 0 || buffer.yBase + buffer.rows() > count)
        return ::testing::AssertionFailure() << "yBase " << buffer.yBase << " rows " << buffer.rows() << " count " << count;
    if (buffer.yDisp() > buffer.yBase)
        return ::testing::AssertionFailure() << "yDisp " << buffer.yDisp() << " past yBase " << buffer.yBase;
    if (buffer.x() >= buffer.cols() + 1 || buffer.y() >= buffer.rows())
        return ::testing::AssertionFailure() << "cursor " << buffer.x() << "," << buffer.y();
    if (count > buffer.lines.maxLength())
        return ::testing::AssertionFailure() << "count past capacity";
    for (int row = 0; row < count; ++row) {
        const BufferLine& line = buffer.lines[row];
        if (line.count() < buffer.cols())
            return ::testing::AssertionFailure() << "row " << row << " has " << line.count() << " cells";
        for (int col = 0; col < line.count(); ++col) {
            if (line[col].width == 2 && (col + 1 >= line.count() || line[col + 1].width != 0))
                return ::testing::AssertionFailure() << "wide character cut at row " << row << " col " << col;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(BufferResizeInvariantsTest, RandomOutputAndResizesKeepTheBufferConsistent)
{
    std::mt19937 random(20261209);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const char alphabet[] = "abcW..W";

    for (int round = 0; round < 200; ++round) {
        const int scrollback = pick(0, 3) == 0 ? 0 : pick(5, 60);
        auto buffer = std::make_unique<Buffer>(pick(2, 30), pick(1, 12), 8, scrollback);
        buffer->fillViewportRows();
        for (int step = 0; step < 60; ++step) {
            if (pick(0, 4) == 0) {
                buffer->resize(pick(2, 40), pick(1, 14));
            } else {
                std::string text;
                for (int length = pick(0, 70); length > 0; --length)
                    text += alphabet[pick(0, 6)];
                testing::printText(*buffer, text);
                testing::newLine(*buffer);
            }
            ASSERT_TRUE(isConsistent(*buffer)) << "round " << round << " step " << step;
        }
    }
}

} // namespace
} // namespace brevlin
