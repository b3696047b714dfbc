#pragma once

#include "model/TarnDate.h"
#include "model/TarnDisplayFileModels.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One JPEG still of a display, with the displays a client may choose from.
struct TarnWireScreenFrame {
  std::string jpegBase64;
  std::int64_t width = 0;
  std::int64_t height = 0;
  TarnDate capturedAt{};
  std::optional<std::uint32_t> displayID{};
  std::optional<std::string> displayName{};
  std::optional<std::vector<TarnDisplay>> availableDisplays{};

  bool operator==(const TarnWireScreenFrame&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("jpegBase64", self.jpegBase64);
    visit("width", self.width);
    visit("height", self.height);
    visit("capturedAt", self.capturedAt);
    visit("displayID", self.displayID);
    visit("displayName", self.displayName);
    visit("availableDisplays", self.availableDisplays);
  }
};

struct TarnWireFileListResponse {
  std::string currentPath{};
  std::string displayPath{};
  std::optional<std::string> parentPath{};
  std::vector<TarnFileEntry> entries{};
  std::optional<std::string> message{};

  bool operator==(const TarnWireFileListResponse&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("currentPath", self.currentPath);
    visit("displayPath", self.displayPath);
    visit("parentPath", self.parentPath);
    visit("entries", self.entries);
    visit("message", self.message);
  }
};

// The answer to a download: the bytes in base64 when accepted, else only the reason.
struct TarnWireFileDownloadResponse {
  bool accepted = false;
  std::string path{};
  std::string fileName{};
  std::int64_t byteCount = 0;
  std::optional<std::string> base64Data;
  std::string message{};

  bool operator==(const TarnWireFileDownloadResponse&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("accepted", self.accepted);
    visit("path", self.path);
    visit("fileName", self.fileName);
    visit("byteCount", self.byteCount);
    visit("base64Data", self.base64Data);
    visit("message", self.message);
  }
};
