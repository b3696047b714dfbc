#include "model/TarnUUID.h"

#include <gtest/gtest.h>

#include <unordered_set>

TEST(TarnUUID, ParsesOnlyTheCanonicalFormInEitherCase) {
  struct Case {
    const char* text;
    bool parses;
  };
  const Case cases[] = {
      {"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8", true},
      {"6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8", true},
      {"6f1C2a3B-4d5E-4f60-8172-8394A5b6c7D8", true},
      {"6F1C2A3B4D5E4F6081728394A5B6C7D8", false},
      {"{6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8}", false},
      {"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D", false},
      {"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7DG", false},
      {"6F1C2A3B-4D5E-4F60-8172_8394A5B6C7D8", false},
      {"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8 ", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TarnUUID::parse(c.text).has_value(), c.parses) << c.text;
}

TEST(TarnUUID, WritesUpperCaseAndReadsBack) {
  auto lower = TarnUUID::parse("6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8");
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->uuidString(), "6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8");
  EXPECT_EQ(TarnUUID::parse(lower->uuidString()), lower);
}

TEST(TarnUUID, RandomIdentifiersAreVersionFourAndDistinct) {
  std::unordered_set<TarnUUID> seen;
  for (int i = 0; i < 64; ++i) {
    auto uuid = TarnUUID::random();
    EXPECT_EQ(uuid.bytes()[6] >> 4, 4);
    EXPECT_EQ(uuid.bytes()[8] >> 6, 2);
    EXPECT_TRUE(seen.insert(uuid).second);
  }
}
