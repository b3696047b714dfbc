#include "platform/capture/TarnDisplayOrder.h"

#include <gtest/gtest.h>

namespace {
TarnMonitor monitor(uint32_t id, bool primary = false) { return {id, 0, 0, 100, 100, primary}; }

std::vector<uint32_t> ids(const std::vector<TarnMonitor>& monitors) {
  std::vector<uint32_t> result;
  for (const TarnMonitor& item : monitors) result.push_back(item.id);
  return result;
}
}  // namespace

TEST(TarnDisplayOrder, MainDisplayFirstThenAscendingIDs) {
  struct Case {
    std::vector<TarnMonitor> monitors;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {{monitor(5), monitor(9, true), monitor(2)}, {9, 2, 5}},
      {{monitor(7), monitor(3)}, {7, 3}},  // no primary: the server's first is the main one
      {{monitor(4, true)}, {4}},
      {{}, {}},
  };
  for (const Case& test : cases) EXPECT_EQ(ids(TarnDisplayOrder::sorted(test.monitors)), test.expected);
}

TEST(TarnDisplayOrder, NamesCountTheMainDisplay) {
  std::vector<TarnMonitor> sorted = TarnDisplayOrder::sorted({monitor(5), monitor(9, true), monitor(2)});
  EXPECT_EQ(TarnDisplayOrder::name(sorted, 0), "Main Display");
  EXPECT_EQ(TarnDisplayOrder::name(sorted, 1), "Display 2");
  EXPECT_EQ(TarnDisplayOrder::name(sorted, 2), "Display 3");
}

TEST(TarnDisplayOrder, AVanishedSelectionFallsBackToTheMainDisplay) {
  std::vector<TarnMonitor> sorted = TarnDisplayOrder::sorted({monitor(5), monitor(9, true)});
  EXPECT_EQ(TarnDisplayOrder::choose(sorted, 5)->id, 5u);
  EXPECT_EQ(TarnDisplayOrder::choose(sorted, 77)->id, 9u);
  EXPECT_EQ(TarnDisplayOrder::choose(sorted, std::nullopt)->id, 9u);
  EXPECT_FALSE(TarnDisplayOrder::choose({}, 5).has_value());
}
