#pragma once

#include "model/TarnAgentMessages.h"
#include "model/TarnWireGreetingMessages.h"
#include "model/TarnWireKind.h"
#include "model/TarnWireOneShotCommand.h"
#include "model/TarnWireScreenFileMessages.h"
#include "model/TarnWireTerminalMessages.h"

#include <optional>
#include <string>

// The one message type of the control channel: a kind and the payload that belongs to it.
// Senders fill only the payload of the kind (none for sessionEnded); decoding does not
// enforce that, receivers look only at the payload of the kind.
struct TarnWireEnvelope {
  TarnWireKind kind = TarnWireKind::hello;
  std::optional<TarnWireHello> hello{};
  std::optional<TarnWirePairRequest> pairRequest{};
  std::optional<TarnWirePairResult> pairResult{};
  std::optional<TarnWireCommand> command{};
  std::optional<TarnWireScreenFrame> screenFrame{};
  std::optional<TarnWireFileListResponse> fileListResponse{};
  std::optional<TarnWireFileDownloadResponse> fileDownloadResponse{};
  std::optional<TarnWireTerminalResponse> terminalResponse{};
  std::optional<TarnWireTerminalOpened> terminalOpened{};
  std::optional<TarnWireTerminalSessions> terminalSessions{};
  std::optional<TarnWireTerminalOutput> terminalOutput{};
  std::optional<TarnWireTerminalClosed> terminalClosed{};
  std::optional<std::string> errorMessage{};
  std::optional<std::string> hostToken{};
  std::optional<TarnAgentEvent> agentEvent{};
  std::optional<TarnWireAgentSessions> agentSessions{};

  bool operator==(const TarnWireEnvelope&) const = default;

  // An envelope of the payload's kind carrying only that payload.
  static TarnWireEnvelope carrying(TarnWireHello payload);
  static TarnWireEnvelope carrying(TarnWirePairRequest payload);
  static TarnWireEnvelope carrying(TarnWirePairResult payload);
  static TarnWireEnvelope carrying(TarnWireCommand payload);
  static TarnWireEnvelope carrying(TarnWireScreenFrame payload);
  static TarnWireEnvelope carrying(TarnWireFileListResponse payload);
  static TarnWireEnvelope carrying(TarnWireFileDownloadResponse payload);
  static TarnWireEnvelope carrying(TarnWireTerminalResponse payload);
  static TarnWireEnvelope carrying(TarnWireTerminalOpened payload);
  static TarnWireEnvelope carrying(TarnWireTerminalSessions payload);
  static TarnWireEnvelope carrying(TarnWireTerminalOutput payload);
  static TarnWireEnvelope carrying(TarnWireTerminalClosed payload);
  static TarnWireEnvelope carrying(TarnAgentEvent payload);
  static TarnWireEnvelope carrying(TarnWireAgentSessions payload);
  static TarnWireEnvelope error(std::string message);
  static TarnWireEnvelope hostTokenGrant(std::string token);
  static TarnWireEnvelope sessionEnded();

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("kind", self.kind);
    visit("hello", self.hello);
    visit("pairRequest", self.pairRequest);
    visit("pairResult", self.pairResult);
    visit("command", self.command);
    visit("screenFrame", self.screenFrame);
    visit("fileListResponse", self.fileListResponse);
    visit("fileDownloadResponse", self.fileDownloadResponse);
    visit("terminalResponse", self.terminalResponse);
    visit("terminalOpened", self.terminalOpened);
    visit("terminalSessions", self.terminalSessions);
    visit("terminalOutput", self.terminalOutput);
    visit("terminalClosed", self.terminalClosed);
    visit("errorMessage", self.errorMessage);
    visit("hostToken", self.hostToken);
    visit("agentEvent", self.agentEvent);
    visit("agentSessions", self.agentSessions);
  }
};
