#include "host/frames/TarnScreenFrameUnit.h"

#include "host/frames/TarnFramesLog.h"
#include "platform/capture/TarnDisplayOrder.h"

#include <QPointer>

#include <algorithm>
#include <charconv>

namespace {
const std::string notPermittedSentence =
    "Enable Screen Recording for Tarnhold Host on the Mac, then quit and reopen the host app.";
const std::string noFrameSentence =
    "Mac screen capture did not produce a frame. Restart Tarnhold Host and try again.";

// A decimal unsigned 32-bit number, optionally with a leading "+", and nothing else.
std::optional<uint32_t> parseDisplayID(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}
}  // namespace

TarnScreenFrameUnit::TarnScreenFrameUnit(TarnHostContext& context, std::unique_ptr<TarnFrameCapturer> capturer)
    : context_(context), capturer_(std::move(capturer)) {
  timer_.setInterval(frameInterval);
  timer_.setTimerType(Qt::CoarseTimer);
  QPointer<QObject> service(context_.lifetimeObject());
  QObject::connect(&timer_, &QTimer::timeout, &lifetime_, [this, service] {
    if (service) sendScreenFrame();
  });
}

TarnScreenFrameUnit::~TarnScreenFrameUnit() = default;

std::vector<std::string> TarnScreenFrameUnit::commandNames() const {
  return {std::string(TarnHostCommandName::selectDisplay)};
}

void TarnScreenFrameUnit::handleCommand(const TarnWireCommand& command, const TarnUUID&) {
  std::optional<uint32_t> displayID = parseDisplayID(command.payload);
  if (!displayID) return;
  selectedDisplayID_ = displayID;
  ++selectionCount_;
  context_.reportEvent(QStringLiteral("Display selected"),
                       QStringLiteral("Switching live stream to display %1.").arg(*displayID),
                       QStringLiteral("display.2"));
  requestFrameSoon();
}

void TarnScreenFrameUnit::clientPaired(const TarnUUID& clientID) {
  std::vector<TarnUUID> subscribers = context_.clientIDs(TarnClientAudience::pairedNonWatch);
  if (std::find(subscribers.begin(), subscribers.end(), clientID) != subscribers.end()) startScreenFrames();
}

void TarnScreenFrameUnit::clientDeparted(const TarnUUID& clientID) {
  toldOfError_.erase(clientID);
  if (!hasScreenFrameSubscriber()) timer_.stop();
}

void TarnScreenFrameUnit::serviceStopped() { stopStream(); }

void TarnScreenFrameUnit::sessionEnded() { stopStream(); }

void TarnScreenFrameUnit::stopStream() {
  timer_.stop();
  lastScreenFrameErrorMessage_.reset();
  toldOfError_.clear();
}

bool TarnScreenFrameUnit::hasScreenFrameSubscriber() const {
  return !context_.clientIDs(TarnClientAudience::pairedNonWatch).empty();
}

void TarnScreenFrameUnit::startScreenFrames() {
  if (!timer_.isActive()) timer_.start();
  requestFrameSoon();
}

void TarnScreenFrameUnit::requestFrameSoon() {
  QPointer<QObject> service(context_.lifetimeObject());
  QMetaObject::invokeMethod(
      &lifetime_,
      [this, service] {
        if (service) sendScreenFrame();
      },
      Qt::QueuedConnection);
}

void TarnScreenFrameUnit::sendScreenFrame() {
  if (!hasScreenFrameSubscriber() || isCapturingScreenFrame_) return;
  isCapturingScreenFrame_ = true;
  uint64_t selectionAtStart = selectionCount_;
  QPointer<QObject> service(context_.lifetimeObject());
  QPointer<QObject> self(&lifetime_);
  capturer_->start(selectedDisplayID_, [this, service, self, selectionAtStart](TarnCaptureResult result) {
    if (service && self) captureFinished(std::move(result), selectionAtStart);
  });
}

void TarnScreenFrameUnit::captureFinished(TarnCaptureResult result, uint64_t selectionAtStart) {
  isCapturingScreenFrame_ = false;
  // A display chosen while this capture ran wins over the one it captured.
  if (selectionCount_ != selectionAtStart) return sendScreenFrame();
  if (!result.frame) {
    // Clients get a fixed sentence; the cause is for whoever reads the log.
    qCInfo(tarnFramesLog) << "No screen frame:" << QString::fromStdString(result.reason);
    return publishScreenFrameError(result.failure == TarnCaptureFailure::notPermitted ? notPermittedSentence
                                                                                       : noFrameSentence);
  }
  selectedDisplayID_ = result.frame->monitor.id;
  lastScreenFrameErrorMessage_.reset();
  toldOfError_.clear();
  sendFrame(*result.frame);
}

void TarnScreenFrameUnit::sendFrame(const TarnCapturedFrame& captured) {
  TarnWireScreenFrame frame;
  frame.jpegBase64 = captured.image.jpegBase64;
  frame.width = captured.image.width;
  frame.height = captured.image.height;
  frame.capturedAt = TarnDate::now();
  frame.displayID = captured.monitor.id;
  frame.displayName = "Mac Display";
  std::vector<TarnDisplay> displays;
  for (size_t index = 0; index < captured.monitors.size(); ++index) {
    const TarnMonitor& monitor = captured.monitors[index];
    bool isCaptured = monitor.id == captured.monitor.id;
    displays.push_back({monitor.id, TarnDisplayOrder::name(captured.monitors, index), monitor.width,
                        monitor.height, isCaptured});
    if (isCaptured) frame.displayName = displays.back().name;
  }
  frame.availableDisplays = std::move(displays);
  context_.sendToClients(TarnWireEnvelope::carrying(std::move(frame)), TarnClientAudience::pairedNonWatch);
}

void TarnScreenFrameUnit::publishScreenFrameError(const std::string& message) {
  bool isNewError = lastScreenFrameErrorMessage_ != message;
  if (isNewError) {
    lastScreenFrameErrorMessage_ = message;
    toldOfError_.clear();
  }
  TarnWireEnvelope envelope = TarnWireEnvelope::error(message);
  for (const TarnUUID& clientID : context_.clientIDs(TarnClientAudience::pairedNonWatch)) {
    if (toldOfError_.insert(clientID).second) context_.send(envelope, clientID);
  }
  if (isNewError) {
    context_.reportEvent(QStringLiteral("Screen stream blocked"), QString::fromStdString(message),
                         QStringLiteral("rectangle.dashed.badge.record"));
  }
}
