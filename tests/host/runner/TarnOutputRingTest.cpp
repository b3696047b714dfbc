#include "host/runner/TarnOutputRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RingCase {
  const char* name;
  std::vector<std::string> chunks;
  std::string kept;
  bool truncated;
};

class TarnOutputRingCases : public ::testing::TestWithParam<RingCase> {};

TEST_P(TarnOutputRingCases, KeepsTheNewestBytesInOrder) {
  TarnOutputRing ring(5);
  for (const std::string& chunk : GetParam().chunks) {
    ring.append(chunk);
  }
  EXPECT_EQ(ring.contents(), GetParam().kept);
  EXPECT_EQ(ring.wasTruncated(), GetParam().truncated);
}

INSTANTIATE_TEST_SUITE_P(Cases, TarnOutputRingCases,
                         ::testing::Values(RingCase{"Empty", {}, "", false},
                                           RingCase{"UnderCapacity", {"ab", "c"}, "abc", false},
                                           RingCase{"ExactlyFull", {"abc", "de"}, "abcde", false},
                                           RingCase{"WrapsAcrossChunks", {"abc", "def", "gh"}, "defgh", true},
                                           RingCase{"OneChunkLargerThanTheRing", {"a", "bcdefghij"}, "fghij", true},
                                           RingCase{"ManySmallChunks", {"a", "b", "c", "d", "e", "f", "g"}, "cdefg",
                                                    true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
