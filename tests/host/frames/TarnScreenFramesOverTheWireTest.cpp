#include "host/frames/TarnScreenFrameUnit.h"
#include "host/frames/TarnThreadedFrameCapturer.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "tests/support/lineclient/TarnTestHost.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

// The stream as clients see it: a real host service on loopback, captures of a private X server.
TEST(TarnScreenFramesOverTheWire, PhonesGetFramesOfTheDisplayTheyChooseAndWatchesNone) {
  TarnXvfbServer server("2720x1080x24");
  ASSERT_TRUE(server.isRunning());
  ASSERT_TRUE(server.makeTwoMonitors());
  ensureTestApplication();
  TarnTestHost host;
  host.service().addUnit(std::make_unique<TarnScreenFrameUnit>(
      host.service(), std::make_unique<TarnThreadedFrameCapturer>(
                          std::make_unique<TarnXScreenCapture>(TarnSessionEnvironment{server.display(), "", "x11"}))));
  host.start();
  auto watch = host.pairedClient("Apple Watch");
  auto phone = host.pairedClient("iPhone");

  std::optional<TarnWireEnvelope> first = phone->nextOfKind(TarnWireKind::screenFrame);
  ASSERT_TRUE(first);
  const TarnWireScreenFrame& frame = *first->screenFrame;
  EXPECT_EQ(frame.width, 960);
  EXPECT_EQ(frame.height, 540);
  EXPECT_EQ(frame.displayName, "Main Display");
  ASSERT_EQ(frame.availableDisplays->size(), 2u);

  const uint32_t secondID = (*frame.availableDisplays)[1].id;
  phone->sendCommand("selectDisplay", std::to_string(secondID));
  std::optional<TarnWireEnvelope> switched;
  for (int frames = 0; frames < 5; ++frames) {
    switched = phone->nextOfKind(TarnWireKind::screenFrame);
    if (!switched || switched->screenFrame->displayID == secondID) break;
  }
  ASSERT_TRUE(switched);
  EXPECT_EQ(switched->screenFrame->displayID, secondID);
  EXPECT_EQ(switched->screenFrame->width, 800);
  EXPECT_EQ(switched->screenFrame->height, 600);

  for (const TarnWireEnvelope& envelope : watch->received()) EXPECT_NE(envelope.kind, TarnWireKind::screenFrame);
}
