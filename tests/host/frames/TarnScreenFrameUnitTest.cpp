#include "host/frames/TarnScreenFrameUnit.h"
#include "tests/support/hostunit/TarnRecordingHostContext.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <deque>

namespace {
const std::string noFrameSentence = "Mac screen capture did not produce a frame. Restart Tarnhold Host and try again.";
const std::string notPermittedSentence =
    "Enable Screen Recording for Tarnhold Host on the Mac, then quit and reopen the host app.";

// Holds each capture until the test finishes it.
class ManualCapturer : public TarnFrameCapturer {
public:
  struct Job {
    std::optional<uint32_t> displayID;
    Completion done;
  };
  void start(std::optional<uint32_t> displayID, Completion done) override {
    jobs->push_back({displayID, std::move(done)});
  }
  std::shared_ptr<std::deque<Job>> jobs = std::make_shared<std::deque<Job>>();
};

TarnMonitor monitor(uint32_t id, int width, int height, bool primary) { return {id, 0, 0, width, height, primary}; }

TarnCaptureResult frameOf(uint32_t capturedID) {
  TarnCapturedFrame frame;
  frame.monitors = {monitor(90, 1920, 1080, true), monitor(12, 800, 600, false)};
  frame.monitor = frame.monitors[capturedID == 90 ? 0 : 1];
  frame.image = {"anBlZw==", capturedID == 90 ? 960 : 800, capturedID == 90 ? 540 : 600};
  TarnCaptureResult result;
  result.frame = frame;
  return result;
}

TarnCaptureResult failure(TarnCaptureFailure kind) {
  TarnCaptureResult result;
  result.failure = kind;
  result.reason = "test";
  return result;
}

TarnWireCommand selectDisplay(std::string payload) {
  TarnWireCommand command;
  command.name = "selectDisplay";
  command.payload = std::move(payload);
  return command;
}

class TarnScreenFrameUnitTest : public ::testing::Test {
protected:
  TarnScreenFrameUnitTest() {
    auto owned = std::make_unique<ManualCapturer>();
    jobs = owned->jobs;
    unit = std::make_unique<TarnScreenFrameUnit>(context, std::move(owned));
  }
  void pairPhone() {
    context.pairedClients.push_back(phone);
    unit->clientPaired(phone);
    QCoreApplication::processEvents();
  }
  // Finishes the oldest capture and lets the unit react.
  void finish(TarnCaptureResult result) {
    ASSERT_FALSE(jobs->empty());
    ManualCapturer::Job job = std::move(jobs->front());
    jobs->pop_front();
    job.done(std::move(result));
    QCoreApplication::processEvents();
  }
  size_t sentOfKind(TarnWireKind kind, const TarnUUID& clientID) const {
    return size_t(std::count_if(context.sent.begin(), context.sent.end(), [&](const auto& sent) {
      return sent.envelope.kind == kind && sent.clientID == clientID;
    }));
  }

  int argc = 1;
  char name[8] = "test";
  char* argv[2] = {name, nullptr};
  // Another test of this process may have made the application already.
  std::unique_ptr<QCoreApplication> application =
      QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc, argv);
  TarnRecordingHostContext context;
  std::shared_ptr<std::deque<ManualCapturer::Job>> jobs;
  std::unique_ptr<TarnScreenFrameUnit> unit;
  TarnUUID phone = TarnUUID::random();
};
}  // namespace

TEST_F(TarnScreenFrameUnitTest, AWatchAloneStartsNoStream) {
  TarnUUID watch = TarnUUID::random();
  context.pairedWatches.push_back(watch);
  unit->clientPaired(watch);
  QCoreApplication::processEvents();
  EXPECT_FALSE(unit->isStreaming());
  EXPECT_TRUE(jobs->empty());
  EXPECT_TRUE(context.sent.empty());
}

TEST_F(TarnScreenFrameUnitTest, APhoneGetsFramesOfTheMainDisplayWithTheDisplayList) {
  TarnUUID watch = TarnUUID::random();
  context.pairedWatches.push_back(watch);
  pairPhone();
  EXPECT_TRUE(unit->isStreaming());
  ASSERT_EQ(jobs->size(), 1u);  // the first frame does not wait for the timer
  EXPECT_EQ(jobs->front().displayID, std::nullopt);
  finish(frameOf(90));

  ASSERT_EQ(context.sent.size(), 1u);  // the watch gets nothing
  EXPECT_EQ(context.sent[0].clientID, phone);
  const TarnWireScreenFrame& frame = *context.sent[0].envelope.screenFrame;
  EXPECT_EQ(frame.jpegBase64, "anBlZw==");
  EXPECT_EQ(frame.width, 960);
  EXPECT_EQ(frame.height, 540);
  EXPECT_EQ(frame.displayID, 90u);
  EXPECT_EQ(frame.displayName, "Main Display");
  EXPECT_EQ(frame.availableDisplays, (std::vector<TarnDisplay>{{90, "Main Display", 1920, 1080, true},
                                                               {12, "Display 2", 800, 600, false}}));
  EXPECT_EQ(unit->activeDisplayID(), 90u);  // the display actually streamed
}

TEST_F(TarnScreenFrameUnitTest, SelectDisplayTakesOnlyADecimalUnsigned32BitNumber) {
  pairPhone();
  finish(frameOf(90));
  const std::string refused[] = {"", "abc", "4294967296", "-1", " 5", "5 ", "1e3", "0x10"};
  for (const std::string& payload : refused) unit->handleCommand(selectDisplay(payload), phone);
  QCoreApplication::processEvents();
  EXPECT_TRUE(context.events.empty());
  EXPECT_TRUE(jobs->empty());
  EXPECT_EQ(unit->activeDisplayID(), 90u);

  unit->handleCommand(selectDisplay("0"), phone);
  EXPECT_EQ(unit->activeDisplayID(), 0u);
  ASSERT_EQ(context.events.size(), 1u);
  EXPECT_EQ(context.events[0].title, QStringLiteral("Display selected"));
  EXPECT_EQ(context.events[0].detail, QStringLiteral("Switching live stream to display 0."));
  EXPECT_EQ(context.events[0].symbol, QStringLiteral("display.2"));
  QCoreApplication::processEvents();
  ASSERT_EQ(jobs->size(), 1u);
  EXPECT_EQ(jobs->front().displayID, 0u);
  // Display 0 does not exist: the capture fell back to the main display, which becomes the selection.
  finish(frameOf(90));
  EXPECT_EQ(unit->activeDisplayID(), 90u);

  unit->handleCommand(selectDisplay("4294967295"), phone);
  EXPECT_EQ(unit->activeDisplayID(), 4294967295u);
}

TEST_F(TarnScreenFrameUnitTest, OneCaptureAtATimeAndASelectionDuringItIsNotLost) {
  pairPhone();
  unit->sendScreenFrame();  // a tick during the capture is dropped
  EXPECT_EQ(jobs->size(), 1u);

  unit->handleCommand(selectDisplay("12"), phone);
  QCoreApplication::processEvents();
  EXPECT_EQ(jobs->size(), 1u);  // still only the first capture

  finish(frameOf(90));  // the capture of the old choice ends after the selection
  EXPECT_EQ(sentOfKind(TarnWireKind::screenFrame, phone), 0u);
  EXPECT_EQ(unit->activeDisplayID(), 12u);
  ASSERT_EQ(jobs->size(), 1u);
  EXPECT_EQ(jobs->front().displayID, 12u);

  finish(frameOf(12));
  EXPECT_EQ(sentOfKind(TarnWireKind::screenFrame, phone), 1u);
  EXPECT_EQ(context.sent.back().envelope.screenFrame->displayID, 12u);
  EXPECT_EQ(unit->activeDisplayID(), 12u);
}

TEST_F(TarnScreenFrameUnitTest, EachSubscriberHearsOfAnErrorOnceAndTheUserOncePerRun) {
  pairPhone();
  finish(failure(TarnCaptureFailure::notPermitted));
  unit->sendScreenFrame();
  finish(failure(TarnCaptureFailure::notPermitted));
  EXPECT_EQ(sentOfKind(TarnWireKind::error, phone), 1u);
  EXPECT_EQ(context.sent.back().envelope.errorMessage, notPermittedSentence);
  ASSERT_EQ(context.events.size(), 1u);
  EXPECT_EQ(context.events[0].title, QStringLiteral("Screen stream blocked"));
  EXPECT_EQ(context.events[0].symbol, QStringLiteral("rectangle.dashed.badge.record"));

  // A client that pairs while capture keeps failing still hears of it, once.
  TarnUUID laterPhone = TarnUUID::random();
  context.pairedClients.push_back(laterPhone);
  unit->clientPaired(laterPhone);
  QCoreApplication::processEvents();
  finish(failure(TarnCaptureFailure::notPermitted));
  unit->sendScreenFrame();
  finish(failure(TarnCaptureFailure::notPermitted));
  EXPECT_EQ(sentOfKind(TarnWireKind::error, laterPhone), 1u);
  EXPECT_EQ(sentOfKind(TarnWireKind::error, phone), 1u);
  EXPECT_EQ(context.events.size(), 1u);

  // Another sentence, or the same after a frame, is news again.
  unit->sendScreenFrame();
  finish(failure(TarnCaptureFailure::noFrame));
  EXPECT_EQ(context.sent.back().envelope.errorMessage, noFrameSentence);
  unit->sendScreenFrame();
  finish(frameOf(90));
  unit->sendScreenFrame();
  finish(failure(TarnCaptureFailure::noFrame));
  EXPECT_EQ(sentOfKind(TarnWireKind::error, phone), 3u);
  EXPECT_EQ(context.events.size(), 3u);
}

TEST_F(TarnScreenFrameUnitTest, TheStreamStopsWithItsLastSubscriberAndWithTheService) {
  pairPhone();
  finish(failure(TarnCaptureFailure::noFrame));
  context.pairedClients.clear();
  unit->clientDeparted(phone);
  EXPECT_FALSE(unit->isStreaming());

  pairPhone();
  EXPECT_TRUE(unit->isStreaming());
  unit->serviceStopped();
  EXPECT_FALSE(unit->isStreaming());
  // Stopping forgot the error, so the user hears of it again.
  finish(failure(TarnCaptureFailure::noFrame));
  EXPECT_EQ(context.events.size(), 2u);
}

TEST_F(TarnScreenFrameUnitTest, ACaptureEndingAfterTheServiceWentDoesNothing) {
  pairPhone();
  context.endLifetime();
  finish(frameOf(90));
  EXPECT_TRUE(context.sent.empty());
}
