#pragma once
#include "platform/capture/TarnPixelView.h"
#include "platform/capture/TarnXShmSegment.h"
#include "platform/displayserver/TarnMonitor.h"

#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

// Copies a rectangle of the root window through MIT-SHM. The shared segment is kept
// between grabs and only replaced when a larger one is needed.
class TarnXShmGrabber {
public:
  explicit TarnXShmGrabber(Display* display) : display_(display), segment_(display) {}
  TarnXShmGrabber(const TarnXShmGrabber&) = delete;
  TarnXShmGrabber& operator=(const TarnXShmGrabber&) = delete;

  // Copies `area` of the root window, clipped to the screen. The pixels stay valid
  // until the next grab. On failure `error` says why.
  bool grab(const TarnMonitor& area, TarnPixelView& image, std::string& error);
  // Copies a whole pixmap of the screen's depth.
  bool grabPixmap(uint32_t pixmap, int width, int height, TarnPixelView& image, std::string& error);

private:
  bool grabDrawable(uint32_t drawable, int left, int top, int width, int height, TarnPixelView& image,
                    std::string& error);

  Display* display_;
  TarnXShmSegment segment_;
};
