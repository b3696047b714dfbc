#include "platform/desktop/TarnRecordingDesktopLauncher.h"

TarnDesktopRequestResult TarnRecordingDesktopLauncher::open(const QString& path) {
  openedPaths.append(path);
  return nextResult;
}

TarnDesktopRequestResult TarnRecordingDesktopLauncher::reveal(const QString& path) {
  revealedPaths.append(path);
  return nextResult;
}
