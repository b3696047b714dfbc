#include "TarnSampleEnvelopes.h"

namespace {

const TarnUUID kHostID = *TarnUUID::parse("6F1C2A3B-4D5E-4F60-8172-8394A5B6C7D8");
const TarnUUID kSessionID = *TarnUUID::parse("0A1B2C3D-4E5F-4061-8273-9485A6B7C8D9");
const TarnDate kWhen = TarnDate(786'000'000);

} // namespace

std::vector<TarnWireEnvelope> sampleEnvelopes() {
  TarnDisplay display{.id = 4'294'967'295u, .name = "Built-in \"Retina\"", .width = 1512,
                      .height = 982, .isSelected = true};
  TarnFileEntry file{.path = "/home/ada/notes.txt", .name = "notes.txt", .isDirectory = false,
                     .byteCount = 1234, .modifiedAt = kWhen, .isHidden = false};
  TarnFileEntry folder{.path = "/home/ada/.config", .name = ".config", .isDirectory = true,
                       .byteCount = std::nullopt, .modifiedAt = std::nullopt, .isHidden = true};
  TarnWireTerminalSessionInfo sessionInfo{.sessionID = kSessionID, .title = "zsh",
                                          .createdAt = kWhen, .cols = 80, .rows = 24,
                                          .alive = true};
  return {
      TarnWireEnvelope::carrying(TarnWireHello{kHostID, "ada-laptop", "Ada's Laptop", 1, "Laptop"}),
      TarnWireEnvelope::carrying(
          TarnWirePairRequest{TarnUUID::random(), "Ada's Phone", "iPhone", "123 456", "token"}),
      TarnWireEnvelope::carrying(TarnWirePairResult{true, "Paired.", kHostID, "ada-laptop",
                                                    "Ada's Laptop", "Laptop", 12, "tok\u00e9n"}),
      TarnWireEnvelope::carrying(TarnWireCommand{TarnUUID::random(), "listFiles", "~/Docs", kWhen}),
      TarnWireEnvelope::carrying(TarnWireScreenFrame{"/9j/4AAQ", 1512, 982, kWhen, 1, "Built-in",
                                                     std::vector<TarnDisplay>{display}}),
      TarnWireEnvelope::carrying(TarnWireFileListResponse{
          "/home/ada", "~", "/home", {file, folder}, "2 items"}),
      TarnWireEnvelope::carrying(TarnWireFileDownloadResponse{
          true, "/home/ada/notes.txt", "notes.txt", 3, "YWJj", "Sent."}),
      TarnWireEnvelope::carrying(TarnWireTerminalResponse{
          TarnUUID::random(), "ls\n", "a\tb\r\n\x01", 2, "/tmp", kWhen, kWhen, 15, true, "Timed out."}),
      TarnWireEnvelope::carrying(TarnWireTerminalOpened{kSessionID, "zsh"}),
      TarnWireEnvelope::carrying(TarnWireTerminalSessions{{sessionInfo, sessionInfo}}),
      TarnWireEnvelope::carrying(TarnWireTerminalOutput{kSessionID, "G1sxbQ=="}),
      TarnWireEnvelope::carrying(TarnWireTerminalClosed{kSessionID, -1, "Session ended."}),
      TarnWireEnvelope::sessionEnded(),
      TarnWireEnvelope::error("Pair this device on the Mac before controlling it."),
      TarnWireEnvelope::hostTokenGrant("eyJhbGciOi"),
      TarnWireEnvelope::carrying(TarnAgentEvent{TarnAgentEvent::Kind::approvalRequest, kSessionID,
                                                "May I?", "Bash", "req-1", "Run", "rm -rf x", false}),
      TarnWireEnvelope::carrying(TarnWireAgentSessions{{
          {kSessionID, TarnAgentKind::claude, "/src", TarnAgentSessionOrigin::spawned(), std::nullopt},
          {std::nullopt, TarnAgentKind::cursor, "",
           TarnAgentSessionOrigin::discovered(TarnAgentMultiplexerKind::screen), "work"},
      }}),
  };
}
