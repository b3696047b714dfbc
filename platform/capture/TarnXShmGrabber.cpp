#include "platform/capture/TarnXShmGrabber.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstdlib>

bool TarnXShmGrabber::grab(const TarnMonitor& area, TarnPixelView& image, std::string& error) {
  int screen = DefaultScreen(display_);
  int rootWidth = DisplayWidth(display_, screen), rootHeight = DisplayHeight(display_, screen);
  int left = std::max(area.x, 0), top = std::max(area.y, 0);
  int width = std::min(area.x + area.width, rootWidth) - left;
  int height = std::min(area.y + area.height, rootHeight) - top;
  if (width <= 0 || height <= 0) {
    error = "The display lies outside the X screen.";
    return false;
  }
  return grabDrawable(uint32_t(DefaultRootWindow(display_)), left, top, width, height, image, error);
}

bool TarnXShmGrabber::grabPixmap(uint32_t pixmap, int width, int height, TarnPixelView& image, std::string& error) {
  return grabDrawable(pixmap, 0, 0, width, height, image, error);
}

bool TarnXShmGrabber::grabDrawable(uint32_t drawable, int left, int top, int width, int height, TarnPixelView& image,
                                   std::string& error) {
  if (DefaultDepth(display_, DefaultScreen(display_)) < 24) {
    error = "Screen capture needs a colour depth of 24 or 32 bits.";
    return false;
  }
  if (!segment_.reserve(size_t(width) * height * 4, error)) return false;
  xcb_connection_t* connection = XGetXCBConnection(display_);
  xcb_shm_get_image_cookie_t cookie =
      xcb_shm_get_image(connection, drawable, int16_t(left), int16_t(top), uint16_t(width), uint16_t(height), ~0u,
                        XCB_IMAGE_FORMAT_Z_PIXMAP, segment_.id(), 0);
  // Errors come back with the reply instead of reaching Xlib's process-wide handler.
  xcb_generic_error_t* replyError = nullptr;
  xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(connection, cookie, &replyError);
  std::free(replyError);
  if (!reply) {
    error = "The X server did not hand over the screen image.";
    return false;
  }
  std::free(reply);
  image = {segment_.memory(), width, height, width * 4};
  return true;
}
