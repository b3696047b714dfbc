#include "platform/displayserver/TarnXDisplay.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

// Xlib's default handlers end the process on a refused request or a lost server; the
// host must outlive its X server, so both only log, and calls on a lost connection fail.
int logProtocolError(Display* display, XErrorEvent* error) {
  char text[128] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "tarnhold.x11: request %d refused: %s\n", int(error->request_code), text);
  return 0;
}

int logLostConnection(Display*) {
  std::fprintf(stderr, "tarnhold.x11: connection to the X server lost\n");
  return 0;
}

void keepRunningAfterLoss(Display*, void*) {}

Display* openSurvivingErrors(const std::string& name) {
  static std::once_flag handlersInstalled;
  std::call_once(handlersInstalled, [] {
    XSetErrorHandler(logProtocolError);
    XSetIOErrorHandler(logLostConnection);
  });
  Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (display) XSetIOErrorExitHandler(display, keepRunningAfterLoss, nullptr);
  return display;
}

}  // namespace

TarnXDisplay::TarnXDisplay(const std::string& name) : display_(openSurvivingErrors(name)) {}

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
