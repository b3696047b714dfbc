#include "model/TarnJsonWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

std::string written(std::string_view text) {
  std::string out;
  TarnJsonWriter writer(out, TarnDateCoding::iso8601);
  writer.writeString(text);
  return out;
}

const std::string kReplacement = "\xEF\xBF\xBD";

} // namespace

TEST(TarnJsonWriter, EscapesWhatJsonRequires) {
  struct Case {
    std::string text;
    const char* json;
  };
  const Case cases[] = {
      {"plain /path", R"("plain /path")"},
      {"q\"b\\", R"("q\"b\\")"},
      {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
      {std::string("\x00\x01\x1F\x7F", 4), "\"\\u0000\\u0001\\u001f\x7F\""},
  };
  for (const auto& c : cases) EXPECT_EQ(written(c.text), c.json);
}

TEST(TarnJsonWriter, KeepsWellFormedUtf8AndReplacesEveryMalformedByte) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"two-byte", "\xC3\xA9", "\xC3\xA9"},
      {"three-byte", "\xE2\x82\xAC", "\xE2\x82\xAC"},
      {"four-byte", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"highest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"lone continuation", "a\x80z", "a" + kReplacement + "z"},
      {"overlong two-byte", "\xC0\xAF", kReplacement + kReplacement},
      {"overlong three-byte", "\xE0\x80\xAF", kReplacement + kReplacement + kReplacement},
      {"surrogate", "\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
      {"above U+10FFFF", "\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
      {"truncated at the end", "ok\xE2\x82", "ok" + kReplacement + kReplacement},
      {"lead byte before ASCII", "\xC3(", kReplacement + "("},
      {"invalid lead", "\xFF\xFE", kReplacement + kReplacement},
  };
  for (const auto& c : cases) {
    auto json = nlohmann::json::parse(written(c.text), nullptr, false);
    ASSERT_TRUE(json.is_string()) << c.name;
    EXPECT_EQ(json.get<std::string>(), c.expected) << c.name;
  }
}

TEST(TarnJsonWriter, NumbersReadBackExactly) {
  for (double value : {0.0, -0.5, 0.1, 1e-7, 1e300, 123456789.125, -2.2250738585072014e-308}) {
    std::string out;
    TarnJsonWriter writer(out, TarnDateCoding::iso8601);
    writer.writeDouble(value);
    ASSERT_FALSE(writer.failed());
    EXPECT_EQ(nlohmann::json::parse(out).get<double>(), value) << out;
  }
}
