#include "platform/capture/TarnXScreenCapture.h"

#include "platform/capture/TarnDisplayOrder.h"
#include "platform/displayserver/TarnXEventDrain.h"
#include "platform/displayserver/TarnXRandrMonitorLayout.h"

TarnXScreenCapture::TarnXScreenCapture(TarnSessionEnvironment environment)
    : environment_(std::move(environment)) {}

TarnXScreenCapture::~TarnXScreenCapture() {
  // They free server resources through the connection, so they go before it closes.
  scaler_.reset();
  frameTarget_.reset();
  grabber_.reset();
}

TarnCaptureResult TarnXScreenCapture::failure(TarnCaptureFailure kind, std::string reason) {
  TarnCaptureResult result;
  result.failure = kind;
  result.reason = std::move(reason);
  return result;
}

bool TarnXScreenCapture::connect(std::string& reason) {
  switch (environment_.type()) {
    case TarnSessionType::wayland:
      reason = "Screen capture needs an X11 session; this is a Wayland session.";
      return false;
    case TarnSessionType::none:
      reason = "No X display is set for the host (DISPLAY is empty).";
      return false;
    case TarnSessionType::x11:
      break;
  }
  if (display_ && display_->isOpen()) return true;
  display_.emplace(environment_.display);
  if (!display_->isOpen()) {
    reason = "The X display " + environment_.display + " cannot be reached.";
    display_.reset();
    return false;
  }
  grabber_ = std::make_unique<TarnXShmGrabber>(display_->get());
  scaler_ = std::make_unique<TarnXRenderScaler>(display_->get());
  frameTarget_ = std::make_unique<TarnXFrameTarget>(display_->get());
  cursor_ = std::make_unique<TarnCursorOverlay>(display_->get());
  return true;
}

bool TarnXScreenCapture::grab(const TarnMonitor& monitor, TarnPixelView& image, std::string& reason) {
  TarnFrameEncoder::Size target = TarnFrameEncoder::targetSize(monitor.width, monitor.height);
  bool needsScaling = target.width != monitor.width || target.height != monitor.height;
  if (needsScaling && scaler_) {
    uint32_t pixmap = frameTarget_->pixmap(target.width, target.height, reason);
    if (pixmap && scaler_->scale(monitor, pixmap, target.width, target.height, reason) && scaler_->confirm(reason))
      return frameTarget_->read(*grabber_, image, reason);
    scaler_.reset();  // the encoder scales from now on
  }
  return grabber_->grab(monitor, image, reason);
}

TarnCaptureResult TarnXScreenCapture::capture(std::optional<uint32_t> displayID) {
  std::string reason;
  if (!connect(reason)) return failure(TarnCaptureFailure::notPermitted, std::move(reason));
  tarnDrainXEvents(display_->get());
  TarnCapturedFrame frame;
  frame.monitors = TarnDisplayOrder::sorted(TarnXRandrMonitorLayout(display_->get()).monitors());
  std::optional<TarnMonitor> chosen = TarnDisplayOrder::choose(frame.monitors, displayID);
  if (!chosen) return failure(TarnCaptureFailure::noFrame, "The X server reports no monitor.");
  frame.monitor = *chosen;
  TarnPixelView image;
  if (!grab(frame.monitor, image, reason)) return failure(TarnCaptureFailure::noFrame, std::move(reason));
  cursor_->draw(frame.monitor, image);
  if (!encoder_.encode(image, frame.image))
    return failure(TarnCaptureFailure::noFrame, "The screen image could not be encoded as JPEG.");
  TarnCaptureResult result;
  result.frame = std::move(frame);
  return result;
}
