#pragma once
#include "platform/capture/TarnPixelView.h"
#include "platform/capture/TarnXShmGrabber.h"
#include "platform/capture/TarnXShmSegment.h"

#include <optional>
#include <string>

typedef struct _XDisplay Display;

// The server-side pixmap a scaled frame is drawn into. Where the server shares
// pixmaps over MIT-SHM, it lives in our shared memory and is read in place; elsewhere
// (GPU-backed servers often refuse) it is a plain pixmap copied out like the screen.
enum class TarnPixmapSharing { whenOffered, never };

class TarnXFrameTarget {
public:
  explicit TarnXFrameTarget(Display* display, TarnPixmapSharing sharing = TarnPixmapSharing::whenOffered)
      : display_(display), segment_(display) {
    if (sharing == TarnPixmapSharing::never) sharesPixmaps_ = false;
  }
  ~TarnXFrameTarget() { release(); }
  TarnXFrameTarget(const TarnXFrameTarget&) = delete;
  TarnXFrameTarget& operator=(const TarnXFrameTarget&) = delete;

  // A pixmap of the screen's depth and this size; 0 with `error` when none can be made.
  uint32_t pixmap(int width, int height, std::string& error);
  // The pixels the server has drawn into the pixmap, valid until the next call.
  bool read(TarnXShmGrabber& grabber, TarnPixelView& image, std::string& error);

private:
  bool serverSharesPixmaps();
  void release();

  Display* display_;
  TarnXShmSegment segment_;
  std::optional<bool> sharesPixmaps_;
  bool isShared_ = false;
  uint32_t pixmap_ = 0;
  int width_ = 0;
  int height_ = 0;
};
