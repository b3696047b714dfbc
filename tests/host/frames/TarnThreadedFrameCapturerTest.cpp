#include "host/frames/TarnScreenFrameUnit.h"
#include "host/frames/TarnThreadedFrameCapturer.h"
#include "model/TarnBase64.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "tests/support/hostunit/TarnRecordingHostContext.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <chrono>

namespace {
struct JpegSize {
  int width = 0, height = 0;
  bool operator==(const JpegSize&) const = default;
};

JpegSize jpegSize(const std::string& base64) {
  std::string bytes = TarnBase64::decode(base64).value_or("");
  JpegSize size;
  int subsampling = 0, colorspace = 0;
  tjhandle handle = tjInitDecompress();
  tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &size.width,
                      &size.height, &subsampling, &colorspace);
  tjDestroy(handle);
  return size;
}

template <class Predicate>
bool processEventsUntil(Predicate done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done() && std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return done();
}

class TarnThreadedFrameCapturerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(server.isRunning());
    ASSERT_TRUE(server.makeTwoMonitors());
  }
  int argc = 1;
  char name[8] = "test";
  char* argv[2] = {name, nullptr};
  // Another test of this process may have made the application already.
  std::unique_ptr<QCoreApplication> application =
      QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc, argv);
  TarnXvfbServer server{"2720x1080x24"};
};
}  // namespace

TEST_F(TarnThreadedFrameCapturerTest, CapturesOffTheMainThreadAndAnswersOnIt) {
  TarnThreadedFrameCapturer capturer(
      std::make_unique<TarnXScreenCapture>(TarnSessionEnvironment{server.display(), "", "x11"}));
  std::optional<TarnCaptureResult> result;
  QThread* answeredOn = nullptr;
  capturer.start(std::nullopt, [&](TarnCaptureResult captured) {
    answeredOn = QThread::currentThread();
    result = std::move(captured);
  });
  ASSERT_TRUE(processEventsUntil([&] { return result.has_value(); }));
  EXPECT_EQ(answeredOn, QThread::currentThread());
  ASSERT_TRUE(result->frame) << result->reason;
  EXPECT_EQ(jpegSize(result->frame->image.jpegBase64), (JpegSize{960, 540}));
}

TEST_F(TarnThreadedFrameCapturerTest, SelectingADisplaySwitchesTheStream) {
  TarnRecordingHostContext context;
  TarnUUID phone = TarnUUID::random();
  context.pairedClients.push_back(phone);
  TarnScreenFrameUnit unit(context, std::make_unique<TarnThreadedFrameCapturer>(std::make_unique<TarnXScreenCapture>(
                                        TarnSessionEnvironment{server.display(), "", "x11"})));
  auto frames = [&] {
    std::vector<TarnWireScreenFrame> result;
    for (const auto& sent : context.sent)
      if (sent.envelope.screenFrame) result.push_back(*sent.envelope.screenFrame);
    return result;
  };
  unit.clientPaired(phone);
  ASSERT_TRUE(processEventsUntil([&] { return frames().size() == 1; }));
  TarnWireScreenFrame first = frames()[0];
  EXPECT_EQ(first.displayName, "Main Display");
  EXPECT_EQ(jpegSize(first.jpegBase64), (JpegSize{960, 540}));
  ASSERT_EQ(first.availableDisplays->size(), 2u);

  uint32_t secondID = (*first.availableDisplays)[1].id;
  unit.handleCommand({TarnUUID::random(), "selectDisplay", std::to_string(secondID), TarnDate::now()}, phone);
  ASSERT_TRUE(processEventsUntil([&] { return frames().back().displayID == secondID; }));
  TarnWireScreenFrame second = frames().back();
  EXPECT_EQ(second.displayName, "Display 2");
  EXPECT_EQ(jpegSize(second.jpegBase64), (JpegSize{800, 600}));
  EXPECT_EQ((JpegSize{int(second.width), int(second.height)}), (JpegSize{800, 600}));
  EXPECT_TRUE((*second.availableDisplays)[1].isSelected);
  EXPECT_FALSE((*second.availableDisplays)[0].isSelected);
}
