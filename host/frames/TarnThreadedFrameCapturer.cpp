#include "host/frames/TarnThreadedFrameCapturer.h"

#include <QMetaObject>

TarnThreadedFrameCapturer::TarnThreadedFrameCapturer(std::unique_ptr<TarnScreenCapture> capture)
    : capture_(std::move(capture)), worker_(new QObject) {
  thread_.setObjectName(QStringLiteral("screen capture"));
  worker_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  thread_.start();
}

TarnThreadedFrameCapturer::~TarnThreadedFrameCapturer() {
  // The capture in flight finishes before the capture object goes; its result is
  // posted to replies_, whose destruction drops it.
  thread_.quit();
  thread_.wait();
}

void TarnThreadedFrameCapturer::start(std::optional<uint32_t> displayID, Completion done) {
  QObject* replies = &replies_;  // outlives every job: the destructor waits for the thread
  TarnScreenCapture* capture = capture_.get();
  QMetaObject::invokeMethod(worker_, [capture, displayID, replies, done = std::move(done)]() mutable {
    TarnCaptureResult result = capture->capture(displayID);
    QMetaObject::invokeMethod(
        replies, [result = std::move(result), done = std::move(done)]() mutable { done(std::move(result)); },
        Qt::QueuedConnection);
  });
}
