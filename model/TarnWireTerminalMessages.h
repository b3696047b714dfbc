#pragma once

#include "model/TarnDate.h"
#include "model/TarnUUID.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Interactive-terminal requests (client to host) travel as JSON text in a command payload;
// terminal bytes travel as standard padded base64 in `dataBase64`.

struct TarnWireTerminalOpenRequest {
  std::int64_t cols = 0;
  std::int64_t rows = 0;
  std::optional<std::string> shell{}; // absent: the registry's default shell

  bool operator==(const TarnWireTerminalOpenRequest&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireTerminalOpenRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("cols", self.cols);
    visit("rows", self.rows);
    visit("shell", self.shell);
  }
};

struct TarnWireTerminalAttachRequest {
  TarnUUID sessionID{};

  bool operator==(const TarnWireTerminalAttachRequest&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireTerminalAttachRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
  }
};

struct TarnWireTerminalInputPayload {
  TarnUUID sessionID{};
  std::string dataBase64;

  bool operator==(const TarnWireTerminalInputPayload&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireTerminalInputPayload> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("dataBase64", self.dataBase64);
  }
};

struct TarnWireTerminalResizePayload {
  TarnUUID sessionID{};
  std::int64_t cols = 0;
  std::int64_t rows = 0;

  bool operator==(const TarnWireTerminalResizePayload&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireTerminalResizePayload> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("cols", self.cols);
    visit("rows", self.rows);
  }
};

struct TarnWireTerminalCloseRequest {
  TarnUUID sessionID{};

  bool operator==(const TarnWireTerminalCloseRequest&) const = default;
  std::string encodedString() const;
  static std::optional<TarnWireTerminalCloseRequest> decode(std::string_view text);

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
  }
};

struct TarnWireTerminalOpened {
  TarnUUID sessionID{};
  std::string title{};

  bool operator==(const TarnWireTerminalOpened&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("title", self.title);
  }
};

struct TarnWireTerminalSessionInfo {
  TarnUUID sessionID{};
  std::string title{};
  TarnDate createdAt{};
  std::int64_t cols = 0;
  std::int64_t rows = 0;
  bool alive = false;

  bool operator==(const TarnWireTerminalSessionInfo&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("title", self.title);
    visit("createdAt", self.createdAt);
    visit("cols", self.cols);
    visit("rows", self.rows);
    visit("alive", self.alive);
  }
};

// Every interactive terminal session, oldest first.
struct TarnWireTerminalSessions {
  std::vector<TarnWireTerminalSessionInfo> sessions{};

  bool operator==(const TarnWireTerminalSessions&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessions", self.sessions);
  }
};

struct TarnWireTerminalOutput {
  TarnUUID sessionID{};
  std::string dataBase64;

  bool operator==(const TarnWireTerminalOutput&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("dataBase64", self.dataBase64);
  }
};

struct TarnWireTerminalClosed {
  static constexpr std::int64_t unknownExitCode = -1;

  TarnUUID sessionID{};
  std::int64_t exitCode = unknownExitCode;
  std::optional<std::string> message{};

  bool operator==(const TarnWireTerminalClosed&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("sessionID", self.sessionID);
    visit("exitCode", self.exitCode);
    visit("message", self.message);
  }
};
