#pragma once

typedef struct _XDisplay Display;

// Display power through the DPMS extension, or the screen saver where a server has no DPMS.
class TarnXDisplayPower {
public:
  explicit TarnXDisplayPower(Display* display) : display_(display) {}
  // Turns every monitor off (or blanks it) now; false without a display.
  bool forceOff();

private:
  Display* display_;
};
