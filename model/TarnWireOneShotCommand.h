#pragma once

#include "model/TarnDate.h"
#include "model/TarnUUID.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A one-shot shell command; the payload of "runTerminalCommand".
struct TarnWireTerminalRequest {
  TarnUUID id{};
  std::string command{};
  std::string workingDirectory{};
  TarnDate createdAt{};

  bool operator==(const TarnWireTerminalRequest&) const = default;

  // JSON text with ISO-8601 dates; "{}" when it cannot be encoded.
  std::string encodedString() const;
  static std::optional<TarnWireTerminalRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("id", self.id);
    visit("command", self.command);
    visit("workingDirectory", self.workingDirectory);
    visit("createdAt", self.createdAt);
  }
};

// The result of a one-shot command.
struct TarnWireTerminalResponse {
  TarnUUID id{};
  std::string command{};
  std::string output{};
  std::int64_t exitCode = 0;
  std::string workingDirectory{};
  TarnDate startedAt{};
  TarnDate completedAt{};
  std::int64_t durationMilliseconds = 0;
  bool didTimeOut = false;
  std::string message{};

  bool operator==(const TarnWireTerminalResponse&) const = default;

  bool didSucceed() const { return exitCode == 0 && !didTimeOut; }

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("id", self.id);
    visit("command", self.command);
    visit("output", self.output);
    visit("exitCode", self.exitCode);
    visit("workingDirectory", self.workingDirectory);
    visit("startedAt", self.startedAt);
    visit("completedAt", self.completedAt);
    visit("durationMilliseconds", self.durationMilliseconds);
    visit("didTimeOut", self.didTimeOut);
    visit("message", self.message);
  }
};
