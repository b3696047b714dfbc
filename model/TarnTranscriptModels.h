#pragma once

#include "model/TarnDate.h"
#include "model/TarnRawEnum.h"
#include "model/TarnUUID.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of a terminal preview.
struct TarnTerminalLine {
  TarnUUID id{};
  std::string prompt{};
  std::string output{};
  TarnDate timestamp{};

  bool operator==(const TarnTerminalLine&) const = default;
};

enum class TarnTerminalExchangeStatus { running, succeeded, failed };

template <>
struct TarnEnumNames<TarnTerminalExchangeStatus> {
  static constexpr std::array<std::string_view, 3> values = {"running", "succeeded", "failed"};
};

// One one-shot command of a transcript and its result.
struct TarnTerminalExchange {
  TarnUUID id{};
  std::string command{};
  std::string output{};
  TarnTerminalExchangeStatus status = TarnTerminalExchangeStatus::running;
  std::optional<std::int64_t> exitCode{};
  std::string workingDirectory{};
  TarnDate startedAt{};
  std::optional<TarnDate> completedAt{};
  std::optional<std::int64_t> durationMilliseconds{};
  std::optional<std::string> errorMessage{};

  bool operator==(const TarnTerminalExchange&) const = default;
};

// One transcript tab.
struct TarnTerminalSession {
  TarnUUID id{};
  std::string title{};
  std::vector<TarnTerminalExchange> exchanges{};
  std::string workingDirectory{};
  TarnDate createdAt{};
  TarnDate updatedAt{};

  bool isRunning() const;

  bool operator==(const TarnTerminalSession&) const = default;
};

// A record of one remote command.
struct TarnRemoteCommand {
  TarnUUID id{};
  std::string command{};
  std::string payload{};
  TarnDate createdAt{};

  bool operator==(const TarnRemoteCommand&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("id", self.id);
    visit("command", self.command);
    visit("payload", self.payload);
    visit("createdAt", self.createdAt);
  }
};
