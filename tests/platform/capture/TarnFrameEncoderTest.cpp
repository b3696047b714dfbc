#include "platform/capture/TarnFrameEncoder.h"

#include <gtest/gtest.h>

TEST(TarnFrameEncoder, TargetSizeIsAtMost960WideWithTheAspectKept) {
  struct Case {
    int width, height;
    TarnFrameEncoder::Size expected;
  };
  const Case cases[] = {
      {2560, 1440, {960, 540}},
      {1920, 1080, {960, 540}},
      {960, 600, {960, 600}},
      {800, 600, {800, 600}},
      {1000, 333, {960, 319}},  // truncated, not rounded
      {1, 1, {1, 1}},
      {3000, 2, {960, 1}},      // never a zero-high frame
  };
  for (const Case& test : cases)
    EXPECT_EQ(TarnFrameEncoder::targetSize(test.width, test.height), test.expected)
        << test.width << "x" << test.height;
}

TEST(TarnFrameEncoder, RefusesAnEmptyImage) {
  TarnFrameEncoder encoder;
  TarnEncodedFrame frame;
  EXPECT_FALSE(encoder.encode({}, frame));
}
