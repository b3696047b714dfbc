#include "TarnJsonTestSupport.h"
#include "TarnSampleEnvelopes.h"
#include "model/TarnLocalNetwork.h"
#include "model/TarnWireCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::optional<TarnWireEnvelope> decodeLocal(std::string_view json) {
  return TarnWireCodec::decodeMessage(json, TarnDateCoding::iso8601);
}

std::string_view kindName(const TarnWireEnvelope& envelope) {
  return rawValue(envelope.kind);
}

} // namespace

TEST(TarnWireEnvelope, EveryKindRoundTripsThroughBothDateCodings) {
  auto samples = sampleEnvelopes();
  ASSERT_EQ(samples.size(), allCases<TarnWireKind>().size());
  for (auto coding : {TarnDateCoding::iso8601, TarnDateCoding::referenceSeconds}) {
    for (const auto& envelope : samples) {
      SCOPED_TRACE(kindName(envelope));
      auto json = TarnWireCodec::encodeMessage(envelope, coding);
      ASSERT_TRUE(json);
      EXPECT_EQ(TarnWireCodec::decodeMessage(*json, coding), envelope) << *json;
    }
  }
}

TEST(TarnWireEnvelope, SentEnvelopeHasKindAndOnlyItsPayloadKey) {
  for (const auto& envelope : sampleEnvelopes()) {
    SCOPED_TRACE(kindName(envelope));
    auto keys = jsonKeys(TarnWireCodec::encode(envelope));
    std::vector<std::string> expected{"kind"};
    if (envelope.kind == TarnWireKind::error) {
      expected.push_back("errorMessage");
    } else if (envelope.kind == TarnWireKind::hostTokenGrant) {
      expected.push_back("hostToken");
    } else if (envelope.kind != TarnWireKind::sessionEnded) {
      expected.push_back(std::string(kindName(envelope)));
    }
    EXPECT_EQ(keys, sortedKeys(expected));
  }
}

TEST(TarnWireEnvelope, EncodesCompactJsonWithUpperCaseIdentifiers) {
  auto id = *TarnUUID::parse("6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8");
  auto line = TarnWireCodec::encode(TarnWireEnvelope::carrying(
      TarnWireTerminalOpened{.sessionID = id, .title = "zsh"}));
  EXPECT_EQ(line, "{\"kind\":\"terminalOpened\",\"terminalOpened\":{\"sessionID\":"
                  "\"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8\",\"title\":\"zsh\"}}\n");
}

TEST(TarnWireEnvelope, DecodingFollowsTheFieldRules) {
  const std::string command =
      R"({"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","name":"openFile","payload":"/a",)"
      R"("createdAt":"2026-12-09T21:45:00Z"})";
  struct Case {
    const char* name;
    std::string json;
    bool decodes;
  };
  const Case cases[] = {
      {"kind only", R"({"kind":"pairResult"})", true},
      {"extra top-level key", R"({"kind":"sessionEnded","version":2})", true},
      {"payload null", R"({"kind":"hello","hello":null})", true},
      {"several payloads", R"({"kind":"error","errorMessage":"x","hostToken":"y"})", true},
      {"kind capitalised", R"({"kind":"Hello"})", false},
      {"unknown kind", R"({"kind":"ping"})", false},
      {"kind missing", R"({"errorMessage":"x"})", false},
      {"kind null", R"({"kind":null})", false},
      {"kind not a string", R"({"kind":3})", false},
      {"not an object", R"(["kind","hello"])", false},
      {"command lacking payload and createdAt",
       R"({"kind":"command","command":{"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","name":"x"}})",
       false},
      {"command complete", R"({"kind":"command","command":)" + command + "}", true},
      {"command with lower-case id",
       R"({"kind":"command","command":{"id":"6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8","name":"x",)"
       R"("payload":"","createdAt":"2026-12-09T21:45:00Z"}})",
       true},
      {"unknown key inside a payload",
       R"({"kind":"command","command":)" + command.substr(0, command.size() - 1) +
           R"(,"extra":{"deep":[1]}}})",
       true},
      {"error message of the wrong type", R"({"kind":"error","errorMessage":5})", false},
      {"payload of another kind malformed", R"({"kind":"sessionEnded","hello":{}})", false},
      {"bad date in a payload",
       R"({"kind":"command","command":{"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","name":"x",)"
       R"("payload":"","createdAt":"yesterday"}})",
       false},
      {"invalid UTF-8", "{\"kind\":\"error\",\"errorMessage\":\"\xC3\x28\"}", false},
      {"trailing garbage", R"({"kind":"sessionEnded"}x)", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decodeLocal(c.json).has_value(), c.decodes) << c.name;
  }
}

TEST(TarnWireEnvelope, MissingOrNullOptionalFieldsReadAsAbsent) {
  auto envelope = decodeLocal(R"({"kind":"hello","hello":null,"errorMessage":null})");
  ASSERT_TRUE(envelope);
  EXPECT_EQ(envelope->kind, TarnWireKind::hello);
  EXPECT_FALSE(envelope->hello);
  EXPECT_FALSE(envelope->errorMessage);

  auto request = decodeLocal(
      R"({"kind":"pairRequest","pairRequest":{"clientID":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8",)"
      R"("clientName":"Phone","clientModel":"iPhone","pairingCode":"123 456","trustToken":null}})");
  ASSERT_TRUE(request && request->pairRequest);
  EXPECT_FALSE(request->pairRequest->trustToken);
}

TEST(TarnWireEnvelope, OptionalPayloadFieldsAreLeftOutWhenAbsent) {
  struct Case {
    const char* name;
    TarnWireEnvelope envelope;
    const char* payloadKey;
    std::vector<std::string> keys;
  };
  const TarnUUID id = TarnUUID::random();
  const Case cases[] = {
      {"hello without model", TarnWireEnvelope::carrying(TarnWireHello{id, "h", "d"}), "hello",
       {"hostID", "hostName", "displayName", "protocolVersion"}},
      {"refused pairing", TarnWireEnvelope::carrying(TarnWirePairResult{false, "No.", id, "h", "d"}),
       "pairResult", {"accepted", "message", "hostID", "hostName", "displayName", "latencyMilliseconds"}},
      {"frame without displays",
       TarnWireEnvelope::carrying(TarnWireScreenFrame{"abc", 2, 1, TarnDate(0)}), "screenFrame",
       {"jpegBase64", "width", "height", "capturedAt"}},
      {"refused download",
       TarnWireEnvelope::carrying(TarnWireFileDownloadResponse{false, "/a", "a", 30'000'000, {}, "Too big."}),
       "fileDownloadResponse", {"accepted", "path", "fileName", "byteCount", "message"}},
      {"closed without message", TarnWireEnvelope::carrying(TarnWireTerminalClosed{id, 0}),
       "terminalClosed", {"sessionID", "exitCode"}},
      {"started agent", TarnWireEnvelope::carrying(TarnAgentEvent{TarnAgentEvent::Kind::started, id}),
       "agentEvent", {"kind", "sessionID"}},
  };
  for (const auto& c : cases) {
    auto json = nlohmann::json::parse(TarnWireCodec::encode(c.envelope));
    EXPECT_EQ(jsonKeys(json[c.payloadKey].dump()), sortedKeys(c.keys)) << c.name;
  }
}

TEST(TarnWireEnvelope, ValuesCheckTheirRanges) {
  auto frameWithDisplayID = [](std::string_view id) {
    return R"({"kind":"screenFrame","screenFrame":{"jpegBase64":"","width":1,"height":1,)"
           R"("capturedAt":"2026-12-09T21:45:00Z","displayID":)" + std::string(id) + "}}";
  };
  EXPECT_TRUE(decodeLocal(frameWithDisplayID("4294967295")));
  EXPECT_FALSE(decodeLocal(frameWithDisplayID("4294967296")));
  EXPECT_FALSE(decodeLocal(frameWithDisplayID("-1")));
  EXPECT_FALSE(decodeLocal(frameWithDisplayID("1.5")));
  EXPECT_FALSE(decodeLocal(frameWithDisplayID("\"1\"")));

  auto closedWithExitCode = [](std::string_view code) {
    return R"({"kind":"terminalClosed","terminalClosed":{"sessionID":)"
           R"("6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","exitCode":)" + std::string(code) + "}}";
  };
  EXPECT_TRUE(decodeLocal(closedWithExitCode("-9223372036854775808")));
  EXPECT_FALSE(decodeLocal(closedWithExitCode("9223372036854775808")));
  EXPECT_FALSE(decodeLocal(closedWithExitCode("true")));
}

TEST(TarnWireEnvelope, NonFiniteNumberFailsEncoding) {
  TarnWireScreenFrame frame{"", 1, 1, TarnDate(std::numeric_limits<double>::quiet_NaN())};
  auto envelope = TarnWireEnvelope::carrying(frame);
  EXPECT_EQ(TarnWireCodec::encode(envelope), "");
  EXPECT_FALSE(TarnWireCodec::encodeMessage(envelope, TarnDateCoding::referenceSeconds));
  EXPECT_FALSE(TarnWireCodec::encodeMessage(envelope, TarnDateCoding::iso8601));
}

TEST(TarnWireEnvelope, TextIsEscapedAndInvalidUtf8Replaced) {
  auto envelope = TarnWireEnvelope::error(std::string("quote\" back\\ nl\n nul") + '\0' +
                                          " bad\xFF end \xE2\x82\xAC");
  auto line = TarnWireCodec::encode(envelope);
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  auto decoded = decodeLocal(line);
  ASSERT_TRUE(decoded && decoded->errorMessage);
  EXPECT_EQ(*decoded->errorMessage,
            std::string("quote\" back\\ nl\n nul") + '\0' + " bad\xEF\xBF\xBD end \xE2\x82\xAC");
}

TEST(TarnWireEnvelope, LocalCodingDropsFractionsOfSeconds) {
  TarnWireCommand command{TarnUUID::random(), "x", "", TarnDate(1000.75)};
  auto local = decodeLocal(TarnWireCodec::encode(TarnWireEnvelope::carrying(command)));
  ASSERT_TRUE(local && local->command);
  EXPECT_EQ(local->command->createdAt, TarnDate(1000));

  auto json = TarnWireCodec::encodeMessage(TarnWireEnvelope::carrying(command),
                                           TarnDateCoding::referenceSeconds);
  ASSERT_TRUE(json);
  EXPECT_NE(json->find("\"createdAt\":1000.75"), std::string::npos) << *json;
  auto remote = TarnWireCodec::decodeMessage(*json, TarnDateCoding::referenceSeconds);
  ASSERT_TRUE(remote && remote->command);
  EXPECT_EQ(remote->command->createdAt, TarnDate(1000.75));
}

TEST(TarnWireEnvelope, DateCodingsDoNotReadEachOthersForm) {
  const std::string isoCommand =
      R"({"kind":"command","command":{"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","name":"x",)"
      R"("payload":"","createdAt":"2001-01-01T00:00:00Z"}})";
  const std::string numericCommand =
      R"({"kind":"command","command":{"id":"6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8","name":"x",)"
      R"("payload":"","createdAt":0}})";
  EXPECT_TRUE(TarnWireCodec::decodeMessage(isoCommand, TarnDateCoding::iso8601));
  EXPECT_FALSE(TarnWireCodec::decodeMessage(isoCommand, TarnDateCoding::referenceSeconds));
  EXPECT_TRUE(TarnWireCodec::decodeMessage(numericCommand, TarnDateCoding::referenceSeconds));
  EXPECT_FALSE(TarnWireCodec::decodeMessage(numericCommand, TarnDateCoding::iso8601));
}

TEST(TarnLocalNetwork, TXTRecordHoldsTheFiveKeysWithTheVersionAsText) {
  auto id = *TarnUUID::parse("6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8");
  auto record = TarnLocalNetwork::hostTXTRecord(id, "ada-laptop", "Ada's Laptop", "Laptop");
  TarnLocalNetwork::TXTRecord expected{{"hostID", "6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8"},
                                       {"hostName", "ada-laptop"},
                                       {"displayName", "Ada's Laptop"},
                                       {"hostModel", "Laptop"},
                                       {"version", "1"}};
  EXPECT_EQ(record, expected);
}
