#pragma once
#include "platform/capture/TarnPixelView.h"
#include "platform/displayserver/TarnMonitor.h"

#include <optional>

typedef struct _XDisplay Display;

// Draws the pointer into captured frames: X screen grabs do not contain it, and the
// person steering from a phone has to see where it is.
class TarnCursorOverlay {
public:
  explicit TarnCursorOverlay(Display* display) : display_(display) {}

  // `image` shows `area` of the screen, scaled to the image's size; the cursor is
  // drawn at the same scale. Does nothing when the server cannot tell the cursor.
  void draw(const TarnMonitor& area, TarnPixelView& image);

private:
  Display* display_;
  std::optional<bool> hasXFixes_;
};
