#include "platform/displayserver/TarnXDisplay.h"

#include <X11/Xlib.h>

#include <utility>

TarnXDisplay::TarnXDisplay(const std::string& name)
    : display_(XOpenDisplay(name.empty() ? nullptr : name.c_str())) {}

TarnXDisplay::~TarnXDisplay() {
  if (display_) XCloseDisplay(display_);
}

TarnXDisplay::TarnXDisplay(TarnXDisplay&& other) noexcept
    : display_(std::exchange(other.display_, nullptr)) {}

TarnXDisplay& TarnXDisplay::operator=(TarnXDisplay&& other) noexcept {
  if (this != &other) {
    if (display_) XCloseDisplay(display_);
    display_ = std::exchange(other.display_, nullptr);
  }
  return *this;
}
