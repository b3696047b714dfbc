#pragma once
#include "host/core/TarnHostUnit.h"
#include "host/frames/TarnFrameCapturer.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

// The screen stream: while a paired client that is not a watch is connected, one
// JPEG still of the selected display about every 0.8 s to every such client, and the
// "selectDisplay" command that chooses the display.
class TarnScreenFrameUnit : public TarnHostUnit {
public:
  static constexpr std::chrono::milliseconds frameInterval{800};

  TarnScreenFrameUnit(TarnHostContext& context, std::unique_ptr<TarnFrameCapturer> capturer);
  ~TarnScreenFrameUnit() override;

  std::vector<std::string> commandNames() const override;
  void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) override;
  void clientPaired(const TarnUUID& clientID) override;
  void clientDeparted(const TarnUUID& clientID) override;
  void serviceStopped() override;
  void sessionEnded() override;

  // The display remote input acts on; absent means the main display.
  std::optional<uint32_t> activeDisplayID() const { return selectedDisplayID_; }
  bool isStreaming() const { return timer_.isActive(); }

  // Starts the stream, or asks for one frame now when it runs already.
  void startScreenFrames();
  // One frame cycle: capture the selected display and send the frame or the error.
  void sendScreenFrame();

private:
  bool hasScreenFrameSubscriber() const;
  void requestFrameSoon();
  void captureFinished(TarnCaptureResult result, uint64_t selectionAtStart);
  void sendFrame(const TarnCapturedFrame& captured);
  void publishScreenFrameError(const std::string& message);
  void stopStream();

  TarnHostContext& context_;
  std::unique_ptr<TarnFrameCapturer> capturer_;
  QObject lifetime_;
  QTimer timer_;
  bool isCapturingScreenFrame_ = false;
  std::optional<uint32_t> selectedDisplayID_;
  // Counts selections, so a capture can tell that the choice changed while it ran.
  uint64_t selectionCount_ = 0;
  std::optional<std::string> lastScreenFrameErrorMessage_;
  // Subscribers that have been sent the current error: each gets it once.
  std::set<TarnUUID> toldOfError_;
};
