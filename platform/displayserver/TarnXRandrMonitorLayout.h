#pragma once
#include "platform/displayserver/TarnMonitorLayout.h"

typedef struct _XDisplay Display;

// Monitors as XRandR 1.5 reports them, falling back to the whole root window
// when the server has no RandR.
class TarnXRandrMonitorLayout : public TarnMonitorLayout {
public:
  explicit TarnXRandrMonitorLayout(Display* display) : display_(display) {}
  std::vector<TarnMonitor> monitors() override;

private:
  Display* display_;
};
