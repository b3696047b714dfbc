#include "platform/capture/TarnXFrameTarget.h"
#include "platform/capture/TarnXRenderScaler.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <gtest/gtest.h>

// Xlib's macros (None, Bool) break gtest's headers, so it comes after them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace {
// Black and white pixels alternating in both directions: halving it by sampling
// single pixels gives black or white, averaging each 2x2 block gives mid grey.
void paintCheckerboard(Display* display, int width, int height) {
  std::vector<uint32_t> pixels(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = (x + y) % 2 ? 0xffffff : 0x000000;
  XImage* image = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)), 24, ZPixmap, 0,
                               reinterpret_cast<char*>(pixels.data()), unsigned(width), unsigned(height), 32, 0);
  GC gc = XCreateGC(display, DefaultRootWindow(display), 0, nullptr);
  XPutImage(display, DefaultRootWindow(display), gc, image, 0, 0, 0, 0, unsigned(width), unsigned(height));
  XFreeGC(display, gc);
  image->data = nullptr;  // owned by the vector
  XDestroyImage(image);
  XSync(display, False);
}
}  // namespace

TEST(TarnXRenderScaler, HalvesByAveragingEachBlockIntoSharedOrPlainPixmaps) {
  TarnXvfbServer server("640x480x24");
  ASSERT_TRUE(server.isRunning());
  TarnXDisplay display(server.display());
  paintCheckerboard(display.get(), 640, 480);
  for (TarnPixmapSharing sharing : {TarnPixmapSharing::whenOffered, TarnPixmapSharing::never}) {
    TarnXShmGrabber grabber(display.get());
    TarnXFrameTarget target(display.get(), sharing);
    TarnXRenderScaler scaler(display.get());
    std::string error;
    uint32_t pixmap = target.pixmap(320, 240, error);
    ASSERT_NE(pixmap, 0u) << error;
    ASSERT_TRUE(scaler.scale({1, 0, 0, 640, 480, true}, pixmap, 320, 240, error)) << error;
    ASSERT_TRUE(scaler.confirm(error)) << error;
    TarnPixelView image;
    ASSERT_TRUE(target.read(grabber, image, error)) << error;
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, 240);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{160, 120}, std::pair{319, 239}}) {
      const uint8_t* pixel = image.pixels + size_t(y) * image.stride + size_t(x) * 4;
      for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(pixel[channel], 128, 8) << x << "," << y;
    }
  }
}
