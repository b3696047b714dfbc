#pragma once
#include "platform/capture/TarnScreenCapture.h"

#include <functional>
#include <optional>

// Runs one capture away from the main thread and hands its result back there.
class TarnFrameCapturer {
public:
  using Completion = std::function<void(TarnCaptureResult)>;
  virtual ~TarnFrameCapturer() = default;
  // `done` runs later on the calling thread, unless the capturer is gone by then.
  virtual void start(std::optional<uint32_t> displayID, Completion done) = 0;
};
