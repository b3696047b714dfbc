#pragma once

#include "model/TarnRawEnum.h"

#include <array>
#include <string_view>

// The 17 kinds of control-channel envelope; each travels as its name.
enum class TarnWireKind {
  hello,
  pairRequest,
  pairResult,
  command,
  screenFrame,
  fileListResponse,
  fileDownloadResponse,
  terminalResponse,
  terminalOpened,
  terminalSessions,
  terminalOutput,
  terminalClosed,
  sessionEnded,
  error,
  hostTokenGrant,
  agentEvent,
  agentSessions,
};

template <>
struct TarnEnumNames<TarnWireKind> {
  static constexpr std::array<std::string_view, 17> values = {
      "hello",          "pairRequest",      "pairResult",     "command",
      "screenFrame",    "fileListResponse", "fileDownloadResponse",
      "terminalResponse", "terminalOpened", "terminalSessions", "terminalOutput",
      "terminalClosed", "sessionEnded",     "error",          "hostTokenGrant",
      "agentEvent",     "agentSessions",
  };
};
