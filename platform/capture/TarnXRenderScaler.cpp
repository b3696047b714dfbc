#include "platform/capture/TarnXRenderScaler.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/render.h>

#include <cstdlib>
#include <memory>

// Every request that can fail is checked, so X errors come back here as values
// instead of reaching Xlib's process-wide handler.
namespace {
struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};

bool succeeded(xcb_connection_t* connection, xcb_void_cookie_t cookie) {
  std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(connection, cookie));
  return !error;
}

xcb_render_fixed_t fixed(double value) { return xcb_render_fixed_t(value * 65536.0); }

// The picture format RENDER pairs with `visual`; 0 when it has none.
uint32_t formatOfVisual(const xcb_render_query_pict_formats_reply_t* formats, xcb_visualid_t visual) {
  for (auto screens = xcb_render_query_pict_formats_screens_iterator(formats); screens.rem;
       xcb_render_pictscreen_next(&screens)) {
    for (auto depths = xcb_render_pictscreen_depths_iterator(screens.data); depths.rem;
         xcb_render_pictdepth_next(&depths)) {
      for (auto visuals = xcb_render_pictdepth_visuals_iterator(depths.data); visuals.rem;
           xcb_render_pictvisual_next(&visuals)) {
        if (visuals.data->visual == visual) return visuals.data->format;
      }
    }
  }
  return 0;
}
}  // namespace

TarnXRenderScaler::TarnXRenderScaler(Display* display) : display_(display) {}

TarnXRenderScaler::~TarnXRenderScaler() { release(); }

void TarnXRenderScaler::release() {
  xcb_connection_t* connection = XGetXCBConnection(display_);
  if (target_) xcb_render_free_picture(connection, target_);
  if (source_) xcb_render_free_picture(connection, source_);
  if (target_ || source_) xcb_flush(connection);
  target_ = source_ = pixmap_ = 0;
  transformedArea_ = {};
}

bool TarnXRenderScaler::prepare(uint32_t pixmap, std::string& error) {
  if (source_ && pixmap == pixmap_) return true;
  xcb_connection_t* connection = XGetXCBConnection(display_);
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_render_id);
  if (!extension || !extension->present) {
    error = "The X server offers no RENDER extension.";
    return false;
  }
  int screen = DefaultScreen(display_);
  if (!format_) {
    std::unique_ptr<xcb_render_query_pict_formats_reply_t, FreeDeleter> formats(
        xcb_render_query_pict_formats_reply(connection, xcb_render_query_pict_formats(connection), nullptr));
    if (formats) format_ = formatOfVisual(formats.get(), xcb_visualid_t(XVisualIDFromVisual(DefaultVisual(display_, screen))));
    if (!format_) {
      error = "RENDER has no picture format for the screen.";
      return false;
    }
  }
  std::vector<xcb_void_cookie_t> requests;
  if (!source_) {
    // Windows above the root are part of what the user sees, so they are included.
    uint32_t sourceValues[] = {XCB_RENDER_REPEAT_PAD, XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS};
    static const char bilinear[] = "bilinear";
    source_ = xcb_generate_id(connection);
    requests.push_back(xcb_render_create_picture_checked(connection, source_, xcb_window_t(DefaultRootWindow(display_)),
                                                         format_, XCB_RENDER_CP_REPEAT | XCB_RENDER_CP_SUBWINDOW_MODE,
                                                         sourceValues));
    requests.push_back(
        xcb_render_set_picture_filter_checked(connection, source_, sizeof bilinear - 1, bilinear, 0, nullptr));
  }
  if (target_) xcb_render_free_picture(connection, target_);
  target_ = xcb_generate_id(connection);
  pixmap_ = pixmap;
  requests.push_back(xcb_render_create_picture_checked(connection, target_, pixmap, format_, 0, nullptr));
  bool made = true;
  for (xcb_void_cookie_t request : requests) made = succeeded(connection, request) && made;
  if (!made) {
    release();
    error = "The X server refused to scale the screen.";
    return false;
  }
  return true;
}

bool TarnXRenderScaler::scale(const TarnMonitor& area, uint32_t pixmap, int width, int height, std::string& error) {
  if (!prepare(pixmap, error)) return false;
  xcb_connection_t* connection = XGetXCBConnection(display_);
  pending_.clear();
  if (!(area == transformedArea_) || width != transformedWidth_ || height != transformedHeight_) {
    // Maps a pixel of the frame to the monitor's pixels: scale, then move to the monitor.
    double scaleX = double(area.width) / width, scaleY = double(area.height) / height;
    xcb_render_transform_t transform = {fixed(scaleX), 0, fixed(area.x), 0, fixed(scaleY), fixed(area.y),
                                        0, 0, fixed(1)};
    pending_.push_back(xcb_render_set_picture_transform_checked(connection, source_, transform));
    transformedArea_ = area;
    transformedWidth_ = width;
    transformedHeight_ = height;
  }
  pending_.push_back(xcb_render_composite_checked(connection, XCB_RENDER_PICT_OP_SRC, source_, XCB_NONE, target_, 0,
                                                  0, 0, 0, 0, 0, uint16_t(width), uint16_t(height)));
  return true;
}

bool TarnXRenderScaler::confirm(std::string& error) {
  xcb_connection_t* connection = XGetXCBConnection(display_);
  bool rendered = true;
  for (xcb_void_cookie_t request : pending_) rendered = succeeded(connection, request) && rendered;
  pending_.clear();
  if (!rendered) {
    transformedArea_ = {};
    error = "The X server refused to scale the screen.";
  }
  return rendered;
}
