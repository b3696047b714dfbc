#include "engine/buffer/Line.h"
#include "engine/buffer/Position.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

TEST(PositionTest, OrdersByRowThenColumn)
{
    using Result = Position::CompareResult;
    const struct {
        Position a;
        Position b;
        Result expected;
    } cases[] = {
        {{5, 2}, {0, 3}, Result::before},
        {{0, 3}, {5, 2}, Result::after},
        {{4, 2}, {4, 2}, Result::equal},
        {{3, 2}, {4, 2}, Result::before},
        {{4, 2}, {3, 2}, Result::after},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Position::compare(test.a, test.b), test.expected) << test.a.debugDescription();
        EXPECT_EQ(test.a < test.b, test.expected == Result::before) << test.a.debugDescription();
    }
    EXPECT_EQ((Position {7, 12}).debugDescription(), "col=7 row=12");
}

TEST(LineTest, FragmentsAddUp)
{
    Line line;
    EXPECT_EQ(line.debugDescription(), "[]");
    EXPECT_EQ(line.start(), std::nullopt);
    EXPECT_EQ(line.getFragmentIndex(0), std::nullopt);

    line.add({"abc", 4, 2, 3});
    line.add({"\n", 5, 0, 4});
    EXPECT_EQ(line.length, 7);
    EXPECT_EQ(line.start(), 4);
    EXPECT_EQ(line.startLocation(), 2);
    EXPECT_EQ(line.toString(), "abc\n");
    EXPECT_EQ(line.debugDescription(), "2/7: [abc][\\n][");
    EXPECT_EQ(line.getFragmentIndex(2), 0);
    EXPECT_EQ(line.getFragmentIndex(3), 1);
    EXPECT_EQ(line.getFragmentIndex(7), 1) << "the end of the line belongs to the last fragment";
    EXPECT_EQ(line[1].line, 5);
}

} // namespace
} // namespace brevlin
