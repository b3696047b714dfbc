#pragma once
#include <cstdint>

// One monitor of the desktop in root-window pixels. The id is the monitor's name atom,
// which stays the same for as long as the X server runs.
struct TarnMonitor {
  uint32_t id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool isPrimary = false;

  bool operator==(const TarnMonitor&) const = default;
};
