#pragma once
#include "host/files/TarnHomeConfinement.h"
#include "host/files/TarnHomeFolder.h"
#include "model/TarnWireScreenFileMessages.h"

#include <cstdint>

// Reads one regular file inside home, of at most `byteLimit` bytes, as base64.
// Blocking: run it off the event loop.
class TarnFileDownloader {
public:
  static constexpr std::int64_t defaultByteLimit = 26'214'400;

  explicit TarnFileDownloader(const TarnHomeFolder& home, std::int64_t byteLimit = defaultByteLimit);

  TarnWireFileDownloadResponse download(const std::string& pathText) const;

  static constexpr const char* outsideHomeMessage = "Tarnhold can download only files inside the Mac home folder.";
  static constexpr const char* folderMessage = "Folders cannot be downloaded yet. Open the folder and choose a file.";
  static constexpr const char* notRegularFileMessage = "Only regular files can be downloaded.";
  static constexpr const char* tooLargeMessage = "Files over 25 MB are not sent over the local control channel.";

private:
  TarnHomeFolder home_;
  TarnHomeConfinement confinement_;
  std::int64_t byteLimit_;
};
