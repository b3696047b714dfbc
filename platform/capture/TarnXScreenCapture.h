#pragma once
#include "platform/capture/TarnCursorOverlay.h"
#include "platform/capture/TarnFrameEncoder.h"
#include "platform/capture/TarnScreenCapture.h"
#include "platform/capture/TarnXFrameTarget.h"
#include "platform/capture/TarnXRenderScaler.h"
#include "platform/capture/TarnXShmGrabber.h"
#include "platform/displayserver/TarnSessionEnvironment.h"
#include "platform/displayserver/TarnXDisplay.h"

#include <memory>
#include <optional>

// Screen capture of an X11 session: XRandR monitors, scaled on the server with RENDER
// (or here when the server cannot), MIT-SHM grab, JPEG.
// Connects lazily and keeps its connection and buffers; use it from one thread.
class TarnXScreenCapture : public TarnScreenCapture {
public:
  explicit TarnXScreenCapture(TarnSessionEnvironment environment = TarnSessionEnvironment::current());
  ~TarnXScreenCapture() override;

  TarnCaptureResult capture(std::optional<uint32_t> displayID) override;

private:
  static TarnCaptureResult failure(TarnCaptureFailure kind, std::string reason);
  bool connect(std::string& reason);
  bool grab(const TarnMonitor& monitor, TarnPixelView& image, std::string& reason);

  TarnSessionEnvironment environment_;
  std::optional<TarnXDisplay> display_;
  std::unique_ptr<TarnXShmGrabber> grabber_;
  std::unique_ptr<TarnXRenderScaler> scaler_;  // null once the server has refused to scale
  std::unique_ptr<TarnXFrameTarget> frameTarget_;
  std::unique_ptr<TarnCursorOverlay> cursor_;
  TarnFrameEncoder encoder_;
};
