#pragma once
#include "host/files/TarnHomeConfinement.h"
#include "host/files/TarnHomeFolder.h"
#include "model/TarnWireScreenFileMessages.h"

// Lists one folder inside home: folders first, then files, each group in the platform's
// standard name order (numbers by value, letter case ignored); ties keep the reading order.
// Names that are not valid UTF-8 are listed with U+FFFD in place of each invalid byte,
// in both `name` and `path`, so such an entry can be seen but not opened by that path.
class TarnFolderLister {
public:
  explicit TarnFolderLister(const TarnHomeFolder& home);

  TarnWireFileListResponse list(const std::string& pathText) const;

  static constexpr const char* outsideHomeMessage = "Tarnhold can browse only inside the Mac home folder.";
  static constexpr const char* emptyFolderMessage = "This folder is empty.";

private:
  TarnWireFileListResponse refusal() const;
  TarnHomeFolder home_;
  TarnHomeConfinement confinement_;
};
