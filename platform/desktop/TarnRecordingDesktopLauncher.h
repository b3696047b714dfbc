#pragma once
#include "platform/desktop/TarnDesktopLauncher.h"

#include <QStringList>

// Records the paths it is asked to open or reveal, for tests; touches nothing on the desktop.
class TarnRecordingDesktopLauncher : public TarnDesktopLauncher {
public:
  TarnDesktopRequestResult open(const QString& path) override;
  TarnDesktopRequestResult reveal(const QString& path) override;

  QStringList openedPaths;
  QStringList revealedPaths;
  TarnDesktopRequestResult nextResult = TarnDesktopRequestResult::requested;
};
