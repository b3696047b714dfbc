#include "platform/displayserver/TarnSessionEnvironment.h"

#include <cstdlib>

namespace {
std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
}  // namespace

TarnSessionEnvironment TarnSessionEnvironment::current() {
  return {environmentValue("DISPLAY"), environmentValue("WAYLAND_DISPLAY"),
          environmentValue("XDG_SESSION_TYPE")};
}

TarnSessionType TarnSessionEnvironment::type() const {
  if (sessionType == "wayland" || !waylandDisplay.empty()) return TarnSessionType::wayland;
  if (!display.empty()) return TarnSessionType::x11;
  return TarnSessionType::none;
}
