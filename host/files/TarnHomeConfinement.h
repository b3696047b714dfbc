#pragma once
#include "host/files/TarnFileDescriptor.h"

#include <string>

enum class TarnConfinementFailure { none, outsideHome, unresolvable, openFailed };

struct TarnConfinedPath {
  std::string realPath;
  TarnConfinementFailure failure = TarnConfinementFailure::none;
  int errorNumber = 0;
};

struct TarnConfinedFile {
  TarnFileDescriptor descriptor;
  TarnConfinementFailure failure = TarnConfinementFailure::none;
  int errorNumber = 0;
};

// Keeps file access inside the real home folder. A path is judged by where its symbolic links
// really lead, and files are opened with RESOLVE_BENEATH from the home folder, so a component
// swapped for a link after the check still cannot lead outside.
class TarnHomeConfinement {
public:
  explicit TarnHomeConfinement(std::string homePath);

  TarnConfinedPath realPath(const std::string& path) const;
  // `flags` as for open(2); O_CLOEXEC and O_NOCTTY are always added.
  TarnConfinedFile open(const std::string& path, int flags) const;

private:
  std::string homePath_;
};
