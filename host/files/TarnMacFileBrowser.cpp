#include "host/files/TarnMacFileBrowser.h"

#include <QString>

TarnMacFileBrowser::TarnMacFileBrowser(std::string homePath, TarnDesktopLauncher& launcher)
    : home_(homePath), confinement_(home_.path()), launcher_(launcher), lister_(home_), downloader_(home_) {}

TarnConfinedPath TarnMacFileBrowser::confined(const std::string& path) const {
  if (!home_.isInsideHome(path)) {
    return {{}, TarnConfinementFailure::outsideHome, 0};
  }
  return confinement_.realPath(path);
}

std::string TarnMacFileBrowser::open(const std::string& pathText) const {
  const std::string path = home_.resolvedPath(pathText);
  const TarnConfinedPath real = confined(path);
  if (real.failure == TarnConfinementFailure::outsideHome) {
    return "Tarnhold can open only files inside the Mac home folder.";
  }
  const std::string name = TarnHomeFolder::lastComponent(path);
  // The application gets the real path, the one that was checked.
  if (real.failure != TarnConfinementFailure::none ||
      launcher_.open(QString::fromStdString(real.realPath)) != TarnDesktopRequestResult::requested) {
    return "Could not open " + name + " on the Mac.";
  }
  return "Opened " + name + " on the Mac.";
}

std::string TarnMacFileBrowser::reveal(const std::string& pathText) const {
  const std::string path = home_.resolvedPath(pathText);
  const TarnConfinedPath real = confined(path);
  if (real.failure == TarnConfinementFailure::outsideHome) {
    return "Tarnhold can reveal only files inside the Mac home folder.";
  }
  const std::string name = TarnHomeFolder::lastComponent(path);
  if (real.failure != TarnConfinementFailure::none ||
      launcher_.reveal(QString::fromStdString(real.realPath)) != TarnDesktopRequestResult::requested) {
    return "Could not reveal " + name + " in Finder.";
  }
  return "Revealed " + name + " in Finder.";
}
