#pragma once

#include <avahi-common/watch.h>

// Drives avahi-client's sockets and timers from the Qt event loop of the
// thread that makes it, so its callbacks run on that thread. Free every
// client made on it before it goes.
class TarnAvahiQtPoll {
public:
  TarnAvahiQtPoll();
  TarnAvahiQtPoll(const TarnAvahiQtPoll&) = delete;
  TarnAvahiQtPoll& operator=(const TarnAvahiQtPoll&) = delete;

  const AvahiPoll* api() const { return &api_; }

private:
  AvahiPoll api_;
};
