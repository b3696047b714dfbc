#include "platform/capture/TarnCursorOverlay.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdint>

namespace {
// Source over destination; the cursor's pixels are premultiplied ARGB.
void blend(uint8_t* destination, unsigned long cursorPixel) {
  uint32_t alpha = (cursorPixel >> 24) & 0xff;
  if (alpha == 0) return;
  for (int channel = 0; channel < 3; ++channel) {
    uint32_t source = (cursorPixel >> (8 * channel)) & 0xff;  // blue, green, red as in BGRX
    destination[channel] = uint8_t(std::min<uint32_t>(255, source + destination[channel] * (255 - alpha) / 255));
  }
}
}  // namespace

void TarnCursorOverlay::draw(const TarnMonitor& area, TarnPixelView& image) {
  if (!hasXFixes_) {
    int eventBase = 0, errorBase = 0;
    hasXFixes_ = XFixesQueryExtension(display_, &eventBase, &errorBase) != 0;
  }
  if (!*hasXFixes_ || area.width <= 0 || area.height <= 0) return;
  XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
  if (!cursor) return;
  double scaleX = double(image.width) / area.width, scaleY = double(image.height) / area.height;
  double left = (cursor->x - cursor->xhot - area.x) * scaleX, top = (cursor->y - cursor->yhot - area.y) * scaleY;
  int firstColumn = std::max(0, int(left)), lastColumn = std::min(image.width, int(left + cursor->width * scaleX));
  int firstRow = std::max(0, int(top)), lastRow = std::min(image.height, int(top + cursor->height * scaleY));
  for (int row = firstRow; row < lastRow; ++row) {
    int cursorRow = std::min(int((row - top) / scaleY), int(cursor->height) - 1);
    uint8_t* line = image.pixels + size_t(row) * image.stride;
    for (int column = firstColumn; column < lastColumn; ++column) {
      int cursorColumn = std::min(int((column - left) / scaleX), int(cursor->width) - 1);
      if (cursorRow < 0 || cursorColumn < 0) continue;
      blend(line + size_t(column) * 4, cursor->pixels[size_t(cursorRow) * cursor->width + cursorColumn]);
    }
  }
  XFree(cursor);
}
