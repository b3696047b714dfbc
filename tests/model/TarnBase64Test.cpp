#include "model/TarnBase64.h"

#include <gtest/gtest.h>

TEST(TarnBase64, EncodesWithPaddingAndDecodesBack) {
  struct Case {
    std::string bytes;
    const char* text;
  };
  const Case cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {std::string("\x00\xFF\xFE\x3F", 4), "AP/+Pw=="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TarnBase64::encode(c.bytes), c.text);
    EXPECT_EQ(TarnBase64::decode(c.text), c.bytes) << c.text;
  }
}

TEST(TarnBase64, DecodingIsStrict) {
  for (const char* text : {"Zg", "Zg=", "Zm9", "Zm9v\n", " Zm9v", "Zm9v Zm9v", "Zm-v", "Zm_v", "Z===",
                           "====", "Zg==Zg==", "=Zg="}) {
    EXPECT_FALSE(TarnBase64::decode(text)) << text;
  }
}
