#include "platform/capture/TarnXShmGrabber.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstdlib>

// Requests go through XCB so that X errors come back as values instead of reaching
// Xlib's process-wide error handler.
TarnXShmGrabber::TarnXShmGrabber(Display* display) : display_(display) {}

TarnXShmGrabber::~TarnXShmGrabber() { releaseSegment(); }

void TarnXShmGrabber::releaseSegment() {
  if (memory_) {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_shm_detach(connection, segment_);
    xcb_flush(connection);
    shmdt(memory_);
  }
  memory_ = nullptr;
  capacity_ = 0;
  segmentID_ = -1;
}

bool TarnXShmGrabber::ensureSegment(size_t bytes, std::string& error) {
  if (memory_ && capacity_ >= bytes) return true;
  releaseSegment();
  xcb_connection_t* connection = XGetXCBConnection(display_);
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (!extension || !extension->present) {
    error = "The X server offers no MIT-SHM extension.";
    return false;
  }
  segmentID_ = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segmentID_ < 0) {
    error = "No shared memory segment could be made for screen capture.";
    return false;
  }
  void* address = shmat(segmentID_, nullptr, 0);
  // Marked for removal at once: the kernel frees it when both sides have detached,
  // even if this process dies.
  shmctl(segmentID_, IPC_RMID, nullptr);
  if (address == reinterpret_cast<void*>(-1)) {
    error = "No shared memory segment could be made for screen capture.";
    return false;
  }
  segment_ = xcb_generate_id(connection);
  xcb_generic_error_t* attachError =
      xcb_request_check(connection, xcb_shm_attach_checked(connection, segment_, segmentID_, 0));
  if (attachError) {
    std::free(attachError);
    shmdt(address);
    error = "The X server refused shared memory (MIT-SHM); it may be a remote display.";
    return false;
  }
  memory_ = static_cast<uint8_t*>(address);
  capacity_ = bytes;
  return true;
}

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
  size_t bytes = size_t(width) * height * 4;
  if (!ensureSegment(bytes, error)) return false;
  xcb_connection_t* connection = XGetXCBConnection(display_);
  xcb_shm_get_image_cookie_t cookie =
      xcb_shm_get_image(connection, drawable, int16_t(left), int16_t(top), uint16_t(width), uint16_t(height), ~0u,
                        XCB_IMAGE_FORMAT_Z_PIXMAP, segment_, 0);
  xcb_generic_error_t* replyError = nullptr;
  xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(connection, cookie, &replyError);
  std::free(replyError);
  if (!reply) {
    error = "The X server did not hand over the screen image.";
    return false;
  }
  std::free(reply);
  image = {memory_, width, height, width * 4};
  return true;
}
