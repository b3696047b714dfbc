#pragma once
#include "host/frames/TarnFrameCapturer.h"

#include <QObject>
#include <QThread>

#include <memory>

// Captures on a thread of its own, which keeps the X connection and buffers between frames.
class TarnThreadedFrameCapturer : public TarnFrameCapturer {
public:
  explicit TarnThreadedFrameCapturer(std::unique_ptr<TarnScreenCapture> capture);
  ~TarnThreadedFrameCapturer() override;

  void start(std::optional<uint32_t> displayID, Completion done) override;

private:
  std::unique_ptr<TarnScreenCapture> capture_;
  QThread thread_;
  QObject* worker_;  // lives on thread_
  QObject replies_;  // lives on the creating thread; results are posted to it
};
