#pragma once

typedef struct _XDisplay Display;

// Display power through the DPMS extension.
class TarnXDisplayPower {
public:
  explicit TarnXDisplayPower(Display* display) : display_(display) {}
  // Blanks every monitor now; false when the server has no DPMS.
  bool forceOff();

private:
  Display* display_;
};
