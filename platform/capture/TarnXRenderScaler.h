#pragma once
#include "platform/displayserver/TarnMonitor.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

// Scales a rectangle of the root window on the X server with RENDER, into a pixmap
// of the frame size. Only the small frame then crosses to the client, instead of the
// whole monitor that a client-side scale has to read. Keeps the pixmap between frames.
class TarnXRenderScaler {
public:
  explicit TarnXRenderScaler(Display* display);
  ~TarnXRenderScaler();
  TarnXRenderScaler(const TarnXRenderScaler&) = delete;
  TarnXRenderScaler& operator=(const TarnXRenderScaler&) = delete;

  // Asks the server to render `area` scaled to `width` x `height` and returns the pixmap
  // that will hold it, or 0 with `error` set when there is no RENDER or no pixmap.
  uint32_t scale(const TarnMonitor& area, int width, int height, std::string& error);
  // Whether the server did render it; call after a reply that came after scale(), so
  // the answer is there without another round trip.
  bool confirm(std::string& error);

private:
  bool prepare(int width, int height, std::string& error);
  void release();

  Display* display_;
  uint32_t format_ = 0;  // the root visual's picture format; 0 until looked up
  uint32_t source_ = 0;  // the root window as a picture
  uint32_t pixmap_ = 0;
  uint32_t target_ = 0;  // pixmap_ as a picture
  int width_ = 0;
  int height_ = 0;
  TarnMonitor transformedArea_{};  // the area the source transform maps to
  std::vector<xcb_void_cookie_t> pending_;
};
