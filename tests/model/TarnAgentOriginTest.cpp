#include "model/TarnAgentMessages.h"
#include "model/TarnJsonCoding.h"

#include <gtest/gtest.h>

TEST(TarnAgentSessionOrigin, EncodesTheCaseAsItsOnlyKey) {
  using Origin = TarnAgentSessionOrigin;
  EXPECT_EQ(TarnJsonCoding::encode(Origin::spawned(), TarnDateCoding::iso8601), R"({"spawned":{}})");
  EXPECT_EQ(TarnJsonCoding::encode(Origin::discovered(TarnAgentMultiplexerKind::tmux),
                                   TarnDateCoding::iso8601),
            R"({"discovered":{"multiplexer":"tmux"}})");
}

TEST(TarnAgentSessionOrigin, DecodesExactlyOneKnownCase) {
  using Origin = TarnAgentSessionOrigin;
  const std::string keyCount(tarnAgentOriginKeyCountError);
  struct Case {
    const char* json;
    std::optional<Origin> origin;
    std::string error;
  };
  const Case cases[] = {
      {R"({"spawned":{}})", Origin::spawned(), ""},
      {R"({"spawned":{"note":1}})", Origin::spawned(), ""},
      {R"({"spawned":{},"other":2})", Origin::spawned(), ""},
      {R"({"discovered":{"multiplexer":"screen","pid":7}})",
       Origin::discovered(TarnAgentMultiplexerKind::screen), ""},
      {R"({"spawned":true})", std::nullopt, ""},
      {R"({})", std::nullopt, keyCount},
      {R"({"spawned":{},"discovered":{"multiplexer":"tmux"}})", std::nullopt, keyCount},
      {R"({"discovered":{"multiplexer":"zellij"}})", std::nullopt, ""},
      {R"({"discovered":{}})", std::nullopt, ""},
      {R"("spawned")", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    std::string error;
    auto origin = tarnReadAgentOrigin(nlohmann::json::parse(c.json), &error);
    EXPECT_EQ(origin, c.origin) << c.json;
    if (!c.error.empty()) {
      EXPECT_EQ(error, c.error) << c.json;
    }
    EXPECT_EQ(TarnJsonCoding::decode<Origin>(c.json, TarnDateCoding::iso8601), c.origin) << c.json;
  }
}
