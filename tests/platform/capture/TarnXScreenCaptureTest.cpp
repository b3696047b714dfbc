#include "model/TarnBase64.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

// Xlib's macros (None, Bool) break gtest's headers, so it comes after them.
#include <X11/Xlib.h>
#include <turbojpeg.h>

#include <array>
#include <cstdlib>

namespace {
struct DecodedJpeg {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  std::array<int, 3> pixel(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

DecodedJpeg decodeJpeg(const std::string& base64) {
  std::string bytes = TarnBase64::decode(base64).value_or("");
  std::vector<uint8_t> jpeg(bytes.begin(), bytes.end());
  DecodedJpeg result;
  tjhandle handle = tjInitDecompress();
  int subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &result.width, &result.height, &subsampling,
                          &colorspace) == 0) {
    result.rgb.resize(size_t(result.width) * result.height * 3);
    tjDecompress2(handle, jpeg.data(), jpeg.size(), result.rgb.data(), result.width, 0, result.height,
                  TJPF_RGB, 0);
  }
  tjDestroy(handle);
  return result;
}

void paintRoot(Display* display, unsigned long rgb, int x, int y, int width, int height) {
  GC gc = XCreateGC(display, DefaultRootWindow(display), 0, nullptr);
  XSetForeground(display, gc, rgb);
  XFillRectangle(display, DefaultRootWindow(display), gc, x, y, unsigned(width), unsigned(height));
  XFreeGC(display, gc);
  XSync(display, False);
}

bool near(std::array<int, 3> actual, std::array<int, 3> expected) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(actual[i] - expected[i]) > 24) return false;  // JPEG rings near edges
  return true;
}

class TarnXScreenCaptureTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(server.isRunning());
    ASSERT_TRUE(server.makeTwoMonitors());
    ASSERT_TRUE(painter.isOpen());
    paintRoot(painter.get(), 0xff0000, 0, 0, 1920, 1080);
    paintRoot(painter.get(), 0x0000ff, 1920, 0, 800, 600);
  }
  TarnXvfbServer server{"2720x1080x24"};
  TarnXDisplay painter{server.display()};
  TarnXScreenCapture capture{{server.display(), "", "x11"}};
};
}  // namespace

TEST_F(TarnXScreenCaptureTest, CapturesTheMainDisplayScaledWithTheDisplayList) {
  TarnCaptureResult result = capture.capture(std::nullopt);
  ASSERT_TRUE(result.frame) << result.reason;
  EXPECT_TRUE(result.frame->monitor.isPrimary);
  ASSERT_EQ(result.frame->monitors.size(), 2u);
  EXPECT_EQ(result.frame->monitors[0], result.frame->monitor);
  EXPECT_EQ(result.frame->image.width, 960);
  EXPECT_EQ(result.frame->image.height, 540);

  DecodedJpeg jpeg = decodeJpeg(result.frame->image.jpegBase64);
  EXPECT_EQ(jpeg.width, 960);
  EXPECT_EQ(jpeg.height, 540);
  EXPECT_TRUE(near(jpeg.pixel(200, 150), {255, 0, 0}));
}

TEST_F(TarnXScreenCaptureTest, CapturesTheRequestedDisplayAndFollowsRepaints) {
  uint32_t rightID = capture.capture(std::nullopt).frame->monitors[1].id;
  TarnCaptureResult result = capture.capture(rightID);
  ASSERT_TRUE(result.frame) << result.reason;
  EXPECT_EQ(result.frame->monitor.id, rightID);
  DecodedJpeg jpeg = decodeJpeg(result.frame->image.jpegBase64);
  EXPECT_EQ(jpeg.width, 800);
  EXPECT_EQ(jpeg.height, 600);
  EXPECT_TRUE(near(jpeg.pixel(400, 300), {0, 0, 255}));

  // The shared segment is reused: a second grab must see new pixels, not stale ones.
  paintRoot(painter.get(), 0x00ff00, 1920, 0, 800, 600);
  jpeg = decodeJpeg(capture.capture(rightID).frame->image.jpegBase64);
  EXPECT_TRUE(near(jpeg.pixel(400, 300), {0, 255, 0}));
  // Back to the larger display after the smaller one.
  jpeg = decodeJpeg(capture.capture(std::nullopt).frame->image.jpegBase64);
  EXPECT_TRUE(near(jpeg.pixel(100, 100), {255, 0, 0}));
}

TEST_F(TarnXScreenCaptureTest, FramesShowThePointerAtTheirScale) {
  // A solid red 32x32 pointer with its hot spot in the corner, over a white screen.
  Display* display = painter.get();
  Window root = DefaultRootWindow(display);
  paintRoot(display, 0xffffff, 0, 0, 1920, 1080);
  std::vector<char> bits(32 * 32 / 8, char(0xff));
  Pixmap shape = XCreateBitmapFromData(display, root, bits.data(), 32, 32);
  XColor red{}, white{};
  red.red = 0xffff;
  red.flags = white.flags = DoRed | DoGreen | DoBlue;
  Cursor cursor = XCreatePixmapCursor(display, shape, shape, &red, &white, 0, 0);
  XDefineCursor(display, root, cursor);
  XWarpPointer(display, None, root, 0, 0, 0, 0, 600, 400);
  XSync(display, False);

  TarnCaptureResult result = capture.capture(std::nullopt);
  ASSERT_TRUE(result.frame) << result.reason;
  DecodedJpeg jpeg = decodeJpeg(result.frame->image.jpegBase64);
  EXPECT_TRUE(near(jpeg.pixel(308, 208), {255, 0, 0}));  // the pointer, halved with the frame
  EXPECT_TRUE(near(jpeg.pixel(324, 224), {255, 255, 255}));  // past its scaled edge
  XFreeCursor(display, cursor);
  XFreePixmap(display, shape);
}

TEST(TarnXScreenCapture, ScalesOnTheClientWhenTheServerHasNoRender) {
  TarnXvfbServer server("1920x1080x24", {"-extension", "RENDER"});
  ASSERT_TRUE(server.isRunning());
  TarnXDisplay painter(server.display());
  paintRoot(painter.get(), 0x00ff00, 0, 0, 1920, 1080);
  TarnXScreenCapture capture({server.display(), "", "x11"});
  for (int frame = 0; frame < 2; ++frame) {  // the second one no longer asks the server
    TarnCaptureResult result = capture.capture(std::nullopt);
    ASSERT_TRUE(result.frame) << result.reason;
    DecodedJpeg jpeg = decodeJpeg(result.frame->image.jpegBase64);
    EXPECT_EQ(jpeg.width, 960);
    EXPECT_EQ(jpeg.height, 540);
    EXPECT_TRUE(near(jpeg.pixel(200, 150), {0, 255, 0}));  // away from the pointer in the middle
  }
}

TEST(TarnXScreenCapture, SessionsWithoutAnX11ScreenAreNotPermitted) {
  const TarnSessionEnvironment cases[] = {
      {":0", "wayland-0", "wayland"},
      {"", "", "tty"},
      {":987", "", "x11"},  // no server there
  };
  for (const TarnSessionEnvironment& environment : cases) {
    TarnXScreenCapture capture(environment);
    TarnCaptureResult result = capture.capture(std::nullopt);
    EXPECT_FALSE(result.frame);
    EXPECT_EQ(result.failure, TarnCaptureFailure::notPermitted);
    EXPECT_FALSE(result.reason.empty());
  }
}
