#pragma once

#include "model/TarnDateCoding.h"
#include "model/TarnRawEnum.h"
#include "model/TarnUUID.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TarnJsonWriter;

// Coding-agent requests travel as JSON text in a command payload; none of these records holds a date.

enum class TarnAgentKind { claude, codex, cursor, generic };
enum class TarnAgentMode { plan, autoEdit, fullAuto };
enum class TarnAgentMultiplexerKind { tmux, screen };

template <>
struct TarnEnumNames<TarnAgentKind> {
  static constexpr std::array<std::string_view, 4> values = {"claude", "codex", "cursor", "generic"};
};
template <>
struct TarnEnumNames<TarnAgentMode> {
  static constexpr std::array<std::string_view, 3> values = {"plan", "autoEdit", "fullAuto"};
};
template <>
struct TarnEnumNames<TarnAgentMultiplexerKind> {
  static constexpr std::array<std::string_view, 2> values = {"tmux", "screen"};
};

// Spawned by the host, or discovered running inside a multiplexer session.
// JSON: {"spawned":{}} or {"discovered":{"multiplexer":"tmux"}}.
struct TarnAgentSessionOrigin {
  std::optional<TarnAgentMultiplexerKind> discoveredIn{}; // absent: spawned

  static TarnAgentSessionOrigin spawned() { return {}; }
  static TarnAgentSessionOrigin discovered(TarnAgentMultiplexerKind multiplexer) {
    return {multiplexer};
  }
  bool isSpawned() const { return !discoveredIn; }

  bool operator==(const TarnAgentSessionOrigin&) const = default;
};

// Why an origin object failed to decode when it names no case or more than one.
inline constexpr std::string_view tarnAgentOriginKeyCountError =
    "Invalid number of keys found, expected one.";

void tarnWriteJSON(TarnJsonWriter& writer, const TarnAgentSessionOrigin& origin);
bool tarnReadJSON(nlohmann::json& json, TarnAgentSessionOrigin& origin, TarnDateCoding dates);
// Reads an origin object; on failure `error` says why.
std::optional<TarnAgentSessionOrigin> tarnReadAgentOrigin(const nlohmann::json& json,
                                                          std::string* error = nullptr);

struct TarnAgentStartRequest {
  TarnAgentKind kind = TarnAgentKind::generic;
  std::string cwd{};
  TarnAgentMode mode = TarnAgentMode::plan;
  std::int64_t cols = 0;
  std::int64_t rows = 0;

  bool operator==(const TarnAgentStartRequest&) const = default;
  std::string encodedString() const;
  static std::optional<TarnAgentStartRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("kind", self.kind);
    visit("cwd", self.cwd);
    visit("mode", self.mode);
    visit("cols", self.cols);
    visit("rows", self.rows);
  }
};

struct TarnAgentPromptPayload {
  TarnUUID sessionID{};
  std::string text{};

  bool operator==(const TarnAgentPromptPayload&) const = default;
  std::string encodedString() const;
  static std::optional<TarnAgentPromptPayload> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("text", self.text);
  }
};

struct TarnAgentApprovalPayload {
  TarnUUID sessionID{};
  std::string requestID{};
  bool approved = false;

  bool operator==(const TarnAgentApprovalPayload&) const = default;
  std::string encodedString() const;
  static std::optional<TarnAgentApprovalPayload> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("requestID", self.requestID);
    visit("approved", self.approved);
  }
};

struct TarnAgentAttachRequest {
  TarnAgentMultiplexerKind multiplexer = TarnAgentMultiplexerKind::tmux;
  std::string sessionName{};
  TarnAgentKind kind = TarnAgentKind::generic;
  std::string cwd{};
  std::int64_t cols = 0;
  std::int64_t rows = 0;

  bool operator==(const TarnAgentAttachRequest&) const = default;
  std::string encodedString() const;
  static std::optional<TarnAgentAttachRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("multiplexer", self.multiplexer);
    visit("sessionName", self.sessionName);
    visit("kind", self.kind);
    visit("cwd", self.cwd);
    visit("cols", self.cols);
    visit("rows", self.rows);
  }
};

// What an agent session did, pushed to the client that started or attached it.
struct TarnAgentEvent {
  enum class Kind { started, assistantText, toolCall, approvalRequest, turnResult, error, ended };

  Kind kind = Kind::started;
  TarnUUID sessionID{};
  std::optional<std::string> text{};
  std::optional<std::string> toolName{};
  std::optional<std::string> approvalID{};
  std::optional<std::string> title{};
  std::optional<std::string> detail{};
  std::optional<bool> ok{};

  bool operator==(const TarnAgentEvent&) const = default;
  std::string encodedString() const;
  static std::optional<TarnAgentEvent> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("kind", self.kind);
    visit("sessionID", self.sessionID);
    visit("text", self.text);
    visit("toolName", self.toolName);
    visit("approvalID", self.approvalID);
    visit("title", self.title);
    visit("detail", self.detail);
    visit("ok", self.ok);
  }
};

template <>
struct TarnEnumNames<TarnAgentEvent::Kind> {
  static constexpr std::array<std::string_view, 7> values = {
      "started", "assistantText", "toolCall", "approvalRequest", "turnResult", "error", "ended"};
};

struct TarnWireAgentSessionInfo {
  std::optional<TarnUUID> sessionID{}; // absent for a discovered agent not yet attached
  TarnAgentKind kind = TarnAgentKind::generic;
  std::string cwd{};
  TarnAgentSessionOrigin origin{};
  std::optional<std::string> multiplexerSessionName{};

  bool operator==(const TarnWireAgentSessionInfo&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("kind", self.kind);
    visit("cwd", self.cwd);
    visit("origin", self.origin);
    visit("multiplexerSessionName", self.multiplexerSessionName);
  }
};

struct TarnWireAgentSessions {
  std::vector<TarnWireAgentSessionInfo> sessions{};

  bool operator==(const TarnWireAgentSessions&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireAgentSessions> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessions", self.sessions);
  }
};
