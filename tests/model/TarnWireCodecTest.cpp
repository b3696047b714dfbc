#include "model/TarnWireCodec.h"

#include <gtest/gtest.h>

TEST(TarnWireCodec, EncodesSessionEndedAsKindOnly) {
  EXPECT_EQ(TarnWireCodec::encode(TarnWireEnvelope::sessionEnded()), "{\"kind\":\"sessionEnded\"}\n");
}
