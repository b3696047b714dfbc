#pragma once
#include <QString>

enum class TarnDesktopRequestResult { requested, couldNotStart };

// Hands files to the desktop session: their default application, or the file manager.
// Both calls return once the request is on its way; what the application then does is not awaited.
class TarnDesktopLauncher {
public:
  virtual ~TarnDesktopLauncher() = default;
  virtual TarnDesktopRequestResult open(const QString& path) = 0;
  virtual TarnDesktopRequestResult reveal(const QString& path) = 0;
};
