#pragma once
#include "platform/capture/TarnPixelView.h"
#include "platform/displayserver/TarnMonitor.h"

#include <cstddef>
#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

// Copies a rectangle of the root window through MIT-SHM. The shared segment is kept
// between grabs and only replaced when a larger one is needed.
class TarnXShmGrabber {
public:
  explicit TarnXShmGrabber(Display* display);
  ~TarnXShmGrabber();
  TarnXShmGrabber(const TarnXShmGrabber&) = delete;
  TarnXShmGrabber& operator=(const TarnXShmGrabber&) = delete;

  // Copies `area` of the root window, clipped to the screen. The pixels stay valid
  // until the next grab. On failure `error` says why.
  bool grab(const TarnMonitor& area, TarnPixelView& image, std::string& error);
  // Copies a whole pixmap of the screen's depth.
  bool grabPixmap(uint32_t pixmap, int width, int height, TarnPixelView& image, std::string& error);

private:
  bool ensureSegment(size_t bytes, std::string& error);
  bool grabDrawable(uint32_t drawable, int left, int top, int width, int height, TarnPixelView& image,
                    std::string& error);
  void releaseSegment();

  Display* display_;
  uint32_t segment_ = 0;
  int segmentID_ = -1;
  uint8_t* memory_ = nullptr;
  size_t capacity_ = 0;
};
