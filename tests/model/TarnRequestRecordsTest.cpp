#include "TarnJsonTestSupport.h"
#include "model/TarnAgentMessages.h"
#include "model/TarnBase64.h"
#include "model/TarnJsonCoding.h"
#include "model/TarnWireOneShotCommand.h"
#include "model/TarnWireTerminalMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

const std::string kID = "6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8";

// Whether each request record's decode accepts a payload text.
struct DecodeCase {
  const char* name;
  std::function<bool(std::string_view)> decodes;
  std::string text;
  bool accepted;
};

template <class Record>
std::function<bool(std::string_view)> decoderOf() {
  return [](std::string_view text) { return Record::decode(text).has_value(); };
}

const auto open = decoderOf<TarnWireTerminalOpenRequest>();
const auto attach = decoderOf<TarnWireTerminalAttachRequest>();
const auto input = decoderOf<TarnWireTerminalInputPayload>();
const auto resize = decoderOf<TarnWireTerminalResizePayload>();
const auto closeRequest = decoderOf<TarnWireTerminalCloseRequest>();
const auto oneShot = decoderOf<TarnWireTerminalRequest>();
const auto start = decoderOf<TarnAgentStartRequest>();
const auto prompt = decoderOf<TarnAgentPromptPayload>();
const auto approval = decoderOf<TarnAgentApprovalPayload>();
const auto agentAttach = decoderOf<TarnAgentAttachRequest>();
const auto event = decoderOf<TarnAgentEvent>();
const auto sessions = decoderOf<TarnWireAgentSessions>();

} // namespace

TEST(TarnRequestRecords, DecodeAcceptsCompleteRecordsOnly) {
  const DecodeCase cases[] = {
      {"open", open, R"({"cols":80,"rows":24})", true},
      {"open with shell null", open, R"({"cols":80,"rows":24,"shell":null})", true},
      {"open with zero and negative size", open, R"({"cols":0,"rows":-3})", true},
      {"open with only cols", open, R"({"cols":80})", false},
      {"open with cols as text", open, R"({"cols":"80","rows":24})", false},
      {"open with misspelt key", open, R"({"Cols":80,"rows":24})", false},
      {"open with fractional cols", open, R"({"cols":80.5,"rows":24})", false},
      {"attach lower-case id", attach, R"({"sessionID":"6f1c2a3b-4d5e-4f60-8172-8394a5b6c7d8"})", true},
      {"attach malformed id", attach, R"({"sessionID":"not-an-id"})", false},
      {"input empty data", input, R"({"sessionID":")" + kID + R"(","dataBase64":""})", true},
      {"input without data", input, R"({"sessionID":")" + kID + R"("})", false},
      {"resize", resize, R"({"sessionID":")" + kID + R"(","cols":1,"rows":1})", true},
      {"close", closeRequest, R"({"sessionID":")" + kID + R"("})", true},
      {"one-shot with extra key", oneShot,
       R"({"id":")" + kID + R"(","command":"ls","workingDirectory":"~",)"
       R"("createdAt":"2026-12-09T21:45:00Z","shell":"bash"})", true},
      {"one-shot without createdAt", oneShot,
       R"({"id":")" + kID + R"(","command":"ls","workingDirectory":"~"})", false},
      {"agent start with extra key", start,
       R"({"kind":"codex","cwd":"/tmp","mode":"plan","cols":80,"rows":24,"model":"x"})", true},
      {"agent start mode auto", start,
       R"({"kind":"codex","cwd":"/tmp","mode":"auto","cols":80,"rows":24})", false},
      {"agent start kind cursor-agent", start,
       R"({"kind":"cursor-agent","cwd":"/tmp","mode":"plan","cols":80,"rows":24})", false},
      {"agent start kind Claude", start,
       R"({"kind":"Claude","cwd":"/tmp","mode":"plan","cols":80,"rows":24})", false},
      {"prompt malformed id", prompt, R"({"sessionID":"123","text":"hi"})", false},
      {"approval without approved", approval, R"({"sessionID":")" + kID + R"(","requestID":"r"})", false},
      {"approval", approval, R"({"sessionID":")" + kID + R"(","requestID":"r","approved":false})", true},
      {"agent attach", agentAttach,
       R"({"multiplexer":"screen","sessionName":"w","kind":"generic","cwd":"","cols":80,"rows":24})", true},
      {"agent attach unknown multiplexer", agentAttach,
       R"({"multiplexer":"zellij","sessionName":"w","kind":"generic","cwd":"","cols":80,"rows":24})", false},
      {"event ok null", event, R"({"kind":"turnResult","sessionID":")" + kID + R"(","ok":null})", true},
      {"event ok as text", event, R"({"kind":"turnResult","sessionID":")" + kID + R"(","ok":"yes"})", false},
      {"event kind ended", event, R"({"kind":"ended","sessionID":")" + kID + R"("})", true},
      {"listing entry without sessionID", sessions,
       R"({"sessions":[{"kind":"claude","cwd":"","origin":{"discovered":{"multiplexer":"tmux"}},)"
       R"("multiplexerSessionName":"a"}]})", true},
      {"listing entry with sessionID null", sessions,
       R"({"sessions":[{"sessionID":null,"kind":"claude","cwd":"","origin":{"spawned":{}}}]})", true},
      {"listing entry with bad origin", sessions,
       R"({"sessions":[{"kind":"claude","cwd":"","origin":{"spawned":true}}]})", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.decodes(c.text), c.accepted) << c.name << ": " << c.text;
}

TEST(TarnRequestRecords, DecodeRejectsTextsThatAreNoRecord) {
  const std::pair<const char*, std::function<bool(std::string_view)>> decoders[] = {
      {"open", open},       {"attach", attach},     {"input", input},
      {"resize", resize},   {"close", closeRequest}, {"one-shot", oneShot},
      {"start", start},     {"prompt", prompt},     {"approval", approval},
      {"agent attach", agentAttach}, {"event", event}, {"sessions", sessions},
  };
  for (const auto& [name, decodes] : decoders) {
    for (std::string_view text : {"", "{}", "[]", "null", "{\"cols\":", "\xFF"}) {
      EXPECT_FALSE(decodes(text)) << name << ": " << text;
    }
  }
}

TEST(TarnRequestRecords, EncodedStringRoundTripsAndOmitsAbsentFields) {
  const auto id = *TarnUUID::parse(kID);
  TarnWireTerminalOpenRequest openRequest{80, 24};
  EXPECT_EQ(openRequest.encodedString(), R"({"cols":80,"rows":24})");
  EXPECT_EQ(TarnWireTerminalOpenRequest::decode(openRequest.encodedString()), openRequest);

  TarnWireTerminalOpenRequest withShell{100, 40, "/bin/bash"};
  EXPECT_EQ(TarnWireTerminalOpenRequest::decode(withShell.encodedString()), withShell);

  TarnWireTerminalInputPayload inputPayload{id, TarnBase64::encode("ls -la\r")};
  EXPECT_EQ(TarnWireTerminalInputPayload::decode(inputPayload.encodedString()), inputPayload);

  TarnWireTerminalResizePayload resizePayload{id, 132, 50};
  EXPECT_EQ(TarnWireTerminalResizePayload::decode(resizePayload.encodedString()), resizePayload);

  TarnWireTerminalRequest request{id, "echo \"hi\"", "/tmp", TarnDate(786'000'000)};
  EXPECT_EQ(TarnWireTerminalRequest::decode(request.encodedString()), request);

  TarnAgentStartRequest startRequest{TarnAgentKind::codex, "/tmp", TarnAgentMode::plan, 80, 24};
  EXPECT_EQ(startRequest.encodedString(),
            R"({"kind":"codex","cwd":"/tmp","mode":"plan","cols":80,"rows":24})");
  EXPECT_EQ(TarnAgentStartRequest::decode(startRequest.encodedString()), startRequest);

  TarnAgentAttachRequest attachRequest{TarnAgentMultiplexerKind::tmux, "dev", TarnAgentKind::cursor,
                                       "/src", 80, 24};
  EXPECT_EQ(TarnAgentAttachRequest::decode(attachRequest.encodedString()), attachRequest);

  TarnAgentApprovalPayload approvalPayload{id, "req-7", true};
  EXPECT_EQ(TarnAgentApprovalPayload::decode(approvalPayload.encodedString()), approvalPayload);

  TarnAgentEvent started{TarnAgentEvent::Kind::started, id};
  EXPECT_EQ(jsonKeys(started.encodedString()), sortedKeys({"kind", "sessionID"}));

  TarnWireAgentSessions empty;
  EXPECT_EQ(empty.encodedString(), R"({"sessions":[]})");
  EXPECT_EQ(TarnWireAgentSessions::decode(empty.encodedString()), empty);
}

TEST(TarnRequestRecords, UnencodableRecordGivesAnEmptyObjectThatDoesNotDecode) {
  TarnWireTerminalRequest request{TarnUUID::random(), "ls", "/",
                                  TarnDate(std::numeric_limits<double>::infinity())};
  EXPECT_EQ(request.encodedString(), "{}");
  EXPECT_FALSE(TarnWireTerminalRequest::decode(request.encodedString()));
}

TEST(TarnRequestRecords, OneShotResponseWritesEveryKeyAndComputesSuccess) {
  TarnWireTerminalResponse response{TarnUUID::random(), "true", "", 0, "/", TarnDate(0), TarnDate(1),
                                    1000, false, "Done."};
  auto json = TarnJsonCoding::encode(response, TarnDateCoding::iso8601);
  ASSERT_TRUE(json);
  EXPECT_EQ(jsonKeys(*json),
            sortedKeys({"id", "command", "output", "exitCode", "workingDirectory", "startedAt",
                        "completedAt", "durationMilliseconds", "didTimeOut", "message"}));

  struct Case {
    std::int64_t exitCode;
    bool didTimeOut;
    bool didSucceed;
  };
  for (auto [exitCode, didTimeOut, didSucceed] : {Case{0, false, true}, Case{0, true, false},
                                                  Case{1, false, false}}) {
    response.exitCode = exitCode;
    response.didTimeOut = didTimeOut;
    EXPECT_EQ(response.didSucceed(), didSucceed) << exitCode << " " << didTimeOut;
  }
}
