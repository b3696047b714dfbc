// The frame pipeline (capture, scale, JPEG, base64) of a 1920x1080 monitor against its floor:
// a bare MIT-SHM grab of the monitor plus a bare TurboJPEG encode of the already scaled frame.
#include "platform/capture/TarnFrameEncoder.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "platform/displayserver/TarnXDisplay.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <libyuv/scale_argb.h>
#include <sys/shm.h>
#include <turbojpeg.h>
#include <xcb/shm.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {
constexpr int screenWidth = 1920;
constexpr int screenHeight = 1080;

// A desktop-like picture: bands of colour with fine noise, so JPEG has real work to do.
void paintDesktop(Display* display) {
  std::vector<uint32_t> pixels(size_t(screenWidth) * screenHeight);
  std::mt19937 random(7);
  for (int y = 0; y < screenHeight; ++y) {
    for (int x = 0; x < screenWidth; ++x) {
      uint32_t band = uint32_t((x / 120 + y / 90) % 7) * 0x1f2f3f;
      uint32_t noise = (random() & 0x0f0f0f) * ((x / 8 + y / 16) % 3 == 0);
      pixels[size_t(y) * screenWidth + x] = (band ^ noise) & 0xffffff;
    }
  }
  int screen = DefaultScreen(display);
  XImage* image = XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                               reinterpret_cast<char*>(pixels.data()), screenWidth, screenHeight, 32, 0);
  GC gc = XCreateGC(display, DefaultRootWindow(display), 0, nullptr);
  XPutImage(display, DefaultRootWindow(display), gc, image, 0, 0, 0, 0, screenWidth, screenHeight);
  XFreeGC(display, gc);
  image->data = nullptr;  // owned by the vector
  XDestroyImage(image);
  XSync(display, False);
}

struct Desktop {
  TarnXvfbServer server{"1920x1080x24"};
  TarnXDisplay display{server.display()};
  Desktop() {
    if (!display.isOpen()) std::abort();
    paintDesktop(display.get());
  }
};

Desktop& desktop() {
  static Desktop instance;
  return instance;
}

void BM_FramePipeline(benchmark::State& state) {
  TarnXScreenCapture capture({desktop().server.display(), "", "x11"});
  size_t bytes = 0;
  for (auto _ : state) {
    TarnCaptureResult result = capture.capture(std::nullopt);
    if (!result.frame) {
      state.SkipWithError(result.reason.c_str());
      return;
    }
    bytes = result.frame->image.jpegBase64.size();
    benchmark::DoNotOptimize(result);
  }
  state.counters["base64_bytes"] = double(bytes);
}
BENCHMARK(BM_FramePipeline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameFloor(benchmark::State& state) {
  Display* display = desktop().display.get();
  xcb_connection_t* connection = XGetXCBConnection(display);
  size_t size = size_t(screenWidth) * screenHeight * 4;
  int segmentID = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
  auto* memory = static_cast<uint8_t*>(shmat(segmentID, nullptr, 0));
  shmctl(segmentID, IPC_RMID, nullptr);
  xcb_shm_seg_t segment = xcb_generate_id(connection);
  xcb_shm_attach(connection, segment, uint32_t(segmentID), 0);

  TarnFrameEncoder::Size target = TarnFrameEncoder::targetSize(screenWidth, screenHeight);
  std::vector<uint8_t> scaled(size_t(target.width) * target.height * 4);
  auto grab = [&] {
    auto cookie = xcb_shm_get_image(connection, DefaultRootWindow(display), 0, 0, screenWidth, screenHeight, ~0u,
                                    XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0);
    std::free(xcb_shm_get_image_reply(connection, cookie, nullptr));
  };
  grab();
  libyuv::ARGBScale(memory, screenWidth * 4, screenWidth, screenHeight, scaled.data(), target.width * 4,
                    target.width, target.height, libyuv::kFilterBox);

  tjhandle compressor = tjInitCompress();
  unsigned long capacity = tjBufSize(target.width, target.height, TJSAMP_420);
  unsigned char* jpeg = tjAlloc(int(capacity));
  for (auto _ : state) {
    grab();
    unsigned long jpegSize = capacity;
    tjCompress2(compressor, scaled.data(), target.width, target.width * 4, target.height, TJPF_BGRX, &jpeg,
                &jpegSize, TJSAMP_420, TarnFrameEncoder::jpegQuality, TJFLAG_NOREALLOC);
    benchmark::DoNotOptimize(jpegSize);
  }
  tjFree(jpeg);
  tjDestroy(compressor);
  xcb_shm_detach(connection, segment);
  xcb_flush(connection);
  shmdt(memory);
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
