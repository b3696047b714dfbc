#pragma once
#include "platform/displayserver/TarnMonitor.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

// Scales a rectangle of the root window on the X server with RENDER, into a pixmap
// of the frame size. Only the small frame then crosses to the client, instead of the
// whole monitor that a client-side scale has to read.
class TarnXRenderScaler {
public:
  explicit TarnXRenderScaler(Display* display);
  ~TarnXRenderScaler();
  TarnXRenderScaler(const TarnXRenderScaler&) = delete;
  TarnXRenderScaler& operator=(const TarnXRenderScaler&) = delete;

  // Asks the server to render `area` scaled to fill `pixmap` (`width` x `height`, the
  // screen's depth); false with `error` set when there is no RENDER.
  bool scale(const TarnMonitor& area, uint32_t pixmap, int width, int height, std::string& error);
  // Waits until the server has rendered it and says whether it did. After another
  // reply that came later, the answer is there without a round trip of its own.
  bool confirm(std::string& error);

private:
  bool prepare(uint32_t pixmap, std::string& error);
  void release();

  Display* display_;
  uint32_t format_ = 0;  // the root visual's picture format; 0 until looked up
  uint32_t source_ = 0;  // the root window as a picture
  uint32_t pixmap_ = 0;  // the destination last drawn into
  uint32_t target_ = 0;  // pixmap_ as a picture
  TarnMonitor transformedArea_{};  // what the source transform maps the frame onto
  int transformedWidth_ = 0;
  int transformedHeight_ = 0;
  std::vector<xcb_void_cookie_t> pending_;
};
