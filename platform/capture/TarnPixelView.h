#pragma once
#include <cstdint>

// A borrowed 32-bit BGRX image (little-endian X11 ZPixmap at depth 24 or 32).
struct TarnPixelView {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
};
