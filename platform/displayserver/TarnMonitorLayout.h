#pragma once
#include "platform/displayserver/TarnMonitor.h"

#include <vector>

// Where the monitors of the desktop are.
class TarnMonitorLayout {
public:
  virtual ~TarnMonitorLayout() = default;
  // In the server's order; empty when the display cannot be asked.
  virtual std::vector<TarnMonitor> monitors() = 0;
};
