#include "sessions/terminal/TarnScrollbackBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ScrollbackCase {
    const char* name;
    std::ptrdiff_t capacity;
    std::vector<std::string> appends;
    std::string kept;
};

class TarnScrollbackBufferKeeps : public testing::TestWithParam<ScrollbackCase> {};

TEST_P(TarnScrollbackBufferKeeps, TheNewestBytesUpToItsCapacity) {
    TarnScrollbackBuffer buffer(GetParam().capacity);
    for (const auto& slice : GetParam().appends)
        buffer.append(slice);
    EXPECT_EQ(buffer.snapshot(), GetParam().kept);
    EXPECT_EQ(buffer.count(), GetParam().kept.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TarnScrollbackBufferKeeps,
    testing::Values(ScrollbackCase{"trimsTheFront", 4, {"abc", "def"}, "cdef"},
                    ScrollbackCase{"longSliceReplacesEverything", 4, {"abc", "def", "0123456"}, "3456"},
                    ScrollbackCase{"exactCapacity", 4, {"ab", "cd"}, "abcd"},
                    ScrollbackCase{"emptySliceChangesNothing", 4, {"ab", "", "c"}, "abc"},
                    ScrollbackCase{"zeroCapacityKeepsOneByte", 0, {"xyz"}, "z"},
                    ScrollbackCase{"negativeCapacityKeepsOneByte", -3, {"x", "y"}, "y"},
                    ScrollbackCase{"wrapsManyTimes", 5, {"abc", "def", "ghi", "jk", "l"}, "hijkl"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
