#pragma once

#include "model/TarnDate.h"
#include "model/TarnUUID.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One display of the machine; `id` is the number a client quotes to select it.
struct TarnDisplay {
  std::uint32_t id = 0;
  std::string name{};
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool isSelected = false;

  bool operator==(const TarnDisplay&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("id", self.id);
    visit("name", self.name);
    visit("width", self.width);
    visit("height", self.height);
    visit("isSelected", self.isSelected);
  }
};

// One entry of a folder listing, identified by its path.
struct TarnFileEntry {
  std::string path{};
  std::string name{};
  bool isDirectory = false;
  std::optional<std::int64_t> byteCount{};
  std::optional<TarnDate> modifiedAt{};
  bool isHidden = false;

  bool operator==(const TarnFileEntry&) const = default;

  template <class Self, class Visitor>
  static void visitFields(Self& self, Visitor& visit) {
    visit("path", self.path);
    visit("name", self.name);
    visit("isDirectory", self.isDirectory);
    visit("byteCount", self.byteCount);
    visit("modifiedAt", self.modifiedAt);
    visit("isHidden", self.isHidden);
  }
};

// A folder listing as the interface keeps it.
struct TarnFileBrowserSnapshot {
  std::string currentPath{};
  std::string displayPath{};
  std::optional<std::string> parentPath{};
  std::vector<TarnFileEntry> entries{};
  std::optional<std::string> message{};

  bool operator==(const TarnFileBrowserSnapshot&) const = default;
};

// A file received from the host and saved locally.
struct TarnDownloadedFile {
  TarnUUID id{};
  std::string name{};
  std::string sourcePath{};
  std::string localURL{};
  std::int64_t byteCount = 0;
  TarnDate downloadedAt{};

  bool operator==(const TarnDownloadedFile&) const = default;
};
