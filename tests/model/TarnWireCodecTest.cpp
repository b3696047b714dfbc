#include "model/TarnWireCodec.h"
#include "model/TarnWireLineDecoder.h"

#include <gtest/gtest.h>

namespace {

const std::string kEnded = R"({"kind":"sessionEnded"})";
const std::string kError = R"({"kind":"error","errorMessage":"e"})";

std::vector<TarnWireKind> kindsOf(const std::vector<TarnWireEnvelope>& envelopes) {
  std::vector<TarnWireKind> kinds;
  for (const auto& envelope : envelopes) kinds.push_back(envelope.kind);
  return kinds;
}

} // namespace

TEST(TarnWireCodec, EncodesOneLineEndedByOneLF) {
  EXPECT_EQ(TarnWireCodec::encode(TarnWireEnvelope::sessionEnded()), kEnded + "\n");
  EXPECT_EQ(TarnWireCodec::encode(TarnWireEnvelope::error("Pair this device on the Mac before controlling it.")),
            "{\"kind\":\"error\",\"errorMessage\":\"Pair this device on the Mac before controlling it.\"}\n");
}

TEST(TarnWireCodec, DecodeAvailableLinesCutsCompleteLines) {
  using K = TarnWireKind;
  struct Case {
    const char* name;
    std::string buffer;
    std::vector<TarnWireKind> kinds;
    std::string remainder;
  };
  const Case cases[] = {
      {"empty buffer", "", {}, ""},
      {"partial line", kEnded, {}, kEnded},
      {"only line ends", "\n\n\n", {}, ""},
      {"valid, garbage, valid, partial", kEnded + "\nnot json\n" + kError + "\n{\"kin",
       {K::sessionEnded, K::error}, "{\"kin"},
      {"CR LF", kEnded + "\r\n", {K::sessionEnded}, ""},
      {"white space only", " \t\r\n" + kError + "\n", {K::error}, ""},
      {"unknown kind then valid", "{\"kind\":\"ping\"}\n" + kEnded + "\n", {K::sessionEnded}, ""},
      {"two objects on one line", kEnded + kEnded + "\n" + kError + "\n", {K::error}, ""},
      {"spaces around the object", "  " + kEnded + "  \n", {K::sessionEnded}, ""},
  };
  for (const auto& c : cases) {
    std::string buffer = c.buffer;
    auto envelopes = TarnWireCodec::decodeAvailableLines(buffer);
    EXPECT_EQ(kindsOf(envelopes), c.kinds) << c.name;
    EXPECT_EQ(buffer, c.remainder) << c.name;
  }
}

TEST(TarnWireLineDecoder, LineSplitAcrossReceivesDecodesOnceComplete) {
  TarnWireLineDecoder decoder;
  std::string stream = kError + "\n" + kEnded + "\n";
  std::vector<TarnWireEnvelope> all;
  for (char byte : stream) {
    auto result = decoder.append(std::string_view(&byte, 1));
    EXPECT_FALSE(result.overflowed);
    for (auto& envelope : result.envelopes) all.push_back(envelope);
    if (byte == '\n') {
      EXPECT_EQ(decoder.bufferedBytes(), 0u);
    }
  }
  EXPECT_EQ(kindsOf(all), (std::vector{TarnWireKind::error, TarnWireKind::sessionEnded}));
}

TEST(TarnWireLineDecoder, KeepsExactlyTheLimitAndOverflowsOneBeyond) {
  TarnWireLineDecoder decoder(16);
  auto kept = decoder.append(std::string(16, 'x'));
  EXPECT_FALSE(kept.overflowed);
  EXPECT_EQ(decoder.bufferedBytes(), 16u);

  auto overflowed = decoder.append("y");
  EXPECT_TRUE(overflowed.overflowed);
  EXPECT_EQ(decoder.bufferedBytes(), 0u);
}

TEST(TarnWireLineDecoder, EnvelopesBeforeAnOverflowAreStillReturned) {
  TarnWireLineDecoder decoder(8);
  auto result = decoder.append(kEnded + "\n" + std::string(9, 'z'));
  EXPECT_TRUE(result.overflowed);
  EXPECT_EQ(kindsOf(result.envelopes), std::vector{TarnWireKind::sessionEnded});
}

TEST(TarnWireLineDecoder, LimitAppliesToTheRemainderNotToACompleteLine) {
  TarnWireLineDecoder decoder(8);
  auto result = decoder.append(kError + "\n");
  EXPECT_FALSE(result.overflowed);
  EXPECT_EQ(kindsOf(result.envelopes), std::vector{TarnWireKind::error});
}

TEST(TarnWireLineDecoder, RaisedLimitAppliesToLaterReceives) {
  TarnWireLineDecoder decoder(4);
  decoder.setMaxBufferedBytes(TarnWireCodec::maxBufferedLineBytes);
  EXPECT_FALSE(decoder.append(std::string(64, 'x')).overflowed);
}

TEST(TarnWireLineDecoder, LongLineInManyChunksDecodesWhole) {
  TarnWireEnvelope envelope = TarnWireEnvelope::error(std::string(1 << 20, 'a'));
  std::string line = TarnWireCodec::encode(envelope) + kEnded + "\n";
  TarnWireLineDecoder decoder;
  std::vector<TarnWireEnvelope> all;
  for (std::size_t at = 0; at < line.size(); at += 4096) {
    auto result = decoder.append(std::string_view(line).substr(at, 4096));
    for (auto& decoded : result.envelopes) all.push_back(std::move(decoded));
  }
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], envelope);
  EXPECT_EQ(decoder.bufferedBytes(), 0u);
}

TEST(TarnWireLineDecoder, DataChannelCodingReadsNumericDates) {
  TarnWireLineDecoder decoder(TarnWireCodec::maxBufferedLineBytes, TarnDateCoding::referenceSeconds);
  TarnWireCommand command{TarnUUID::random(), "n", "p", TarnDate(12.5)};
  auto line = TarnWireCodec::encode(TarnWireEnvelope::carrying(command), TarnDateCoding::referenceSeconds);
  auto result = decoder.append(line);
  ASSERT_EQ(result.envelopes.size(), 1u);
  EXPECT_EQ(result.envelopes[0].command, command);
}
