#pragma once
#include "platform/capture/TarnFrameEncoder.h"
#include "platform/displayserver/TarnMonitor.h"

#include <optional>
#include <string>
#include <vector>

struct TarnCapturedFrame {
  TarnEncodedFrame image;
  TarnMonitor monitor;                // the monitor captured
  std::vector<TarnMonitor> monitors;  // every monitor, in display order
};

enum class TarnCaptureFailure {
  notPermitted,  // no X11 session to capture from
  noFrame,       // the session is there but this capture failed
};

struct TarnCaptureResult {
  std::optional<TarnCapturedFrame> frame;
  TarnCaptureFailure failure = TarnCaptureFailure::noFrame;
  std::string reason;  // why, when there is no frame
};

// One still of one display, ready to send.
class TarnScreenCapture {
public:
  virtual ~TarnScreenCapture() = default;
  // Captures the display `displayID`, or the main display when it is absent or gone.
  virtual TarnCaptureResult capture(std::optional<uint32_t> displayID) = 0;
};
