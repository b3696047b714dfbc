#pragma once
#include "host/files/TarnFileDownloader.h"
#include "host/files/TarnFolderLister.h"
#include "host/files/TarnHomeFolder.h"
#include "platform/desktop/TarnDesktopLauncher.h"

#include <string>

// The file browser: everything it lists, opens, reveals or reads lies inside the home folder.
// `list` and `download` block on the file system and may run on any thread;
// `open` and `reveal` belong to the launcher's thread.
class TarnMacFileBrowser {
public:
  TarnMacFileBrowser(std::string homePath, TarnDesktopLauncher& launcher);

  TarnWireFileListResponse list(const std::string& pathText) const { return lister_.list(pathText); }
  TarnWireFileDownloadResponse download(const std::string& pathText) const { return downloader_.download(pathText); }
  // One-line sentences for the activity log.
  std::string open(const std::string& pathText) const;
  std::string reveal(const std::string& pathText) const;

  const TarnFolderLister& lister() const { return lister_; }
  const TarnFileDownloader& downloader() const { return downloader_; }

private:
  // The real path of an item inside home, or why there is none.
  TarnConfinedPath confined(const std::string& path) const;

  TarnHomeFolder home_;
  TarnHomeConfinement confinement_;
  TarnDesktopLauncher& launcher_;
  TarnFolderLister lister_;
  TarnFileDownloader downloader_;
};
