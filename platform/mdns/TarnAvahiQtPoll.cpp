#include "platform/mdns/TarnAvahiQtPoll.h"

#include <avahi-common/timeval.h>

#include <QSocketNotifier>
#include <QTimer>

#include <memory>

struct AvahiWatch {
  int fd;
  AvahiWatchCallback callback;
  void* userdata;
  AvahiWatchEvent happened = AvahiWatchEvent(0);
  std::unique_ptr<QSocketNotifier> readable;
  std::unique_ptr<QSocketNotifier> writable;
  bool* freedInCallback = nullptr; // set while the callback runs
};

struct AvahiTimeout {
  AvahiTimeoutCallback callback;
  void* userdata;
  std::unique_ptr<QTimer> timer;
  bool* freedInCallback = nullptr;
};

namespace {

// A Qt object freed from inside its own signal goes to the event loop for
// deletion; any other is deleted at once.
template <typename T> void deferDeletionInCallback(std::unique_ptr<T>& object, bool* inCallback) {
  if (inCallback) {
    *inCallback = true;
    object.release()->deleteLater();
  }
}

// Runs the callback of a watch or timeout, which may free it; a freed one is not touched again.
template <typename Entry, typename Call> void runCallback(Entry* entry, Call call) {
  bool freed = false;
  entry->freedInCallback = &freed;
  call();
  if (!freed)
    entry->freedInCallback = nullptr;
}

void dispatch(AvahiWatch* watch, AvahiWatchEvent event) {
  watch->happened = event;
  runCallback(watch, [watch, event] { watch->callback(watch, watch->fd, event, watch->userdata); });
}

void updateWatch(AvahiWatch* watch, AvahiWatchEvent events) {
  watch->readable->setEnabled(events & (AVAHI_WATCH_IN | AVAHI_WATCH_ERR | AVAHI_WATCH_HUP));
  watch->writable->setEnabled(events & AVAHI_WATCH_OUT);
}

AvahiWatch* newWatch(const AvahiPoll*, int fd, AvahiWatchEvent events, AvahiWatchCallback callback, void* userdata) {
  auto* watch = new AvahiWatch;
  watch->fd = fd;
  watch->callback = callback;
  watch->userdata = userdata;
  // Made disabled: libdbus may watch one descriptor twice (once per
  // direction), and two enabled notifiers of one kind on it would clash.
  watch->readable = std::make_unique<QSocketNotifier>(QSocketNotifier::Read);
  watch->writable = std::make_unique<QSocketNotifier>(QSocketNotifier::Write);
  watch->readable->setSocket(fd);
  watch->writable->setSocket(fd);
  QObject::connect(watch->readable.get(), &QSocketNotifier::activated, watch->readable.get(),
                   [watch] { dispatch(watch, AVAHI_WATCH_IN); });
  QObject::connect(watch->writable.get(), &QSocketNotifier::activated, watch->writable.get(),
                   [watch] { dispatch(watch, AVAHI_WATCH_OUT); });
  updateWatch(watch, events);
  return watch;
}

AvahiWatchEvent watchEvents(AvahiWatch* watch) { return watch->happened; }

void freeWatch(AvahiWatch* watch) {
  watch->readable->setEnabled(false);
  watch->writable->setEnabled(false);
  deferDeletionInCallback(watch->readable, watch->freedInCallback);
  deferDeletionInCallback(watch->writable, watch->freedInCallback);
  delete watch;
}

void updateTimeout(AvahiTimeout* timeout, const timeval* when) {
  if (!when) {
    timeout->timer->stop();
    return;
  }
  // avahi_age is how long ago 'when' was, in microseconds; negative in the future.
  const AvahiUsec remaining = -avahi_age(when);
  timeout->timer->start(remaining <= 0 ? 0 : int((remaining + 999) / 1000));
}

AvahiTimeout* newTimeout(const AvahiPoll*, const timeval* when, AvahiTimeoutCallback callback, void* userdata) {
  auto* timeout = new AvahiTimeout;
  timeout->callback = callback;
  timeout->userdata = userdata;
  timeout->timer = std::make_unique<QTimer>();
  timeout->timer->setSingleShot(true);
  timeout->timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timeout->timer.get(), &QTimer::timeout, timeout->timer.get(),
                   [timeout] { runCallback(timeout, [timeout] { timeout->callback(timeout, timeout->userdata); }); });
  updateTimeout(timeout, when);
  return timeout;
}

void freeTimeout(AvahiTimeout* timeout) {
  timeout->timer->stop();
  deferDeletionInCallback(timeout->timer, timeout->freedInCallback);
  delete timeout;
}

} // namespace

TarnAvahiQtPoll::TarnAvahiQtPoll()
    : api_{nullptr, newWatch, updateWatch, watchEvents, freeWatch, newTimeout, updateTimeout, freeTimeout} {}
