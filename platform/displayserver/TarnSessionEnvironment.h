#pragma once
#include <string>

enum class TarnSessionType { x11, wayland, none };

// What the login session tells about its display server, read from the environment.
struct TarnSessionEnvironment {
  std::string display;         // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string sessionType;     // XDG_SESSION_TYPE

  static TarnSessionEnvironment current();

  // A Wayland session counts as Wayland even when XWayland sets DISPLAY: X clients
  // there see only other X windows, never the whole screen.
  TarnSessionType type() const;
};
