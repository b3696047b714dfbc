#include "platform/capture/TarnXFrameTarget.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/shm.h>

#include <cstdlib>

bool TarnXFrameTarget::serverSharesPixmaps() {
  if (!sharesPixmaps_) {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_shm_query_version_reply_t* version =
        xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr);
    sharesPixmaps_ = version && version->shared_pixmaps && version->pixmap_format == XCB_IMAGE_FORMAT_Z_PIXMAP;
    std::free(version);
  }
  return *sharesPixmaps_;
}

void TarnXFrameTarget::release() {
  if (pixmap_) {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_free_pixmap(connection, pixmap_);
    xcb_flush(connection);
  }
  pixmap_ = 0;
  width_ = height_ = 0;
}

uint32_t TarnXFrameTarget::pixmap(int width, int height, std::string& error) {
  if (pixmap_ && width == width_ && height == height_) return pixmap_;
  release();
  xcb_connection_t* connection = XGetXCBConnection(display_);
  int screen = DefaultScreen(display_);
  uint8_t depth = uint8_t(DefaultDepth(display_, screen));
  xcb_window_t root = xcb_window_t(DefaultRootWindow(display_));
  uint32_t pixmap = xcb_generate_id(connection);
  std::string ignored;
  // A depth of 24 or 32 means four bytes a pixel and rows without padding.
  isShared_ = serverSharesPixmaps() && depth >= 24 && segment_.reserve(size_t(width) * height * 4, ignored);
  xcb_void_cookie_t made =
      isShared_ ? xcb_shm_create_pixmap_checked(connection, pixmap, root, uint16_t(width), uint16_t(height), depth,
                                                segment_.id(), 0)
                : xcb_create_pixmap_checked(connection, depth, pixmap, root, uint16_t(width), uint16_t(height));
  if (xcb_generic_error_t* refused = xcb_request_check(connection, made)) {
    std::free(refused);
    if (isShared_) {
      sharesPixmaps_ = false;  // refused once, refused always: use a plain pixmap
      return this->pixmap(width, height, error);
    }
    error = "The X server refused a pixmap for the frame.";
    return 0;
  }
  pixmap_ = pixmap;
  width_ = width;
  height_ = height;
  return pixmap_;
}

bool TarnXFrameTarget::read(TarnXShmGrabber& grabber, TarnPixelView& image, std::string& error) {
  if (!pixmap_) {
    error = "No frame was drawn.";
    return false;
  }
  if (!isShared_) return grabber.grabPixmap(pixmap_, width_, height_, image, error);
  image = {segment_.memory(), width_, height_, width_ * 4};
  return true;
}
