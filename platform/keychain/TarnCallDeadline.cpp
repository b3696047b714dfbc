#include "platform/keychain/TarnCallDeadline.h"

#include <gio/gio.h>

TarnCallDeadline::TarnCallDeadline(GCancellable* cancellable, std::chrono::milliseconds limit)
    : cancellable_(G_CANCELLABLE(g_object_ref(cancellable))) {
  watcher_ = std::thread([this, limit] {
    std::unique_lock lock(mutex_);
    if (!finished_.wait_for(lock, limit, [this] { return callDone_; }))
      g_cancellable_cancel(cancellable_);
  });
}

TarnCallDeadline::~TarnCallDeadline() {
  {
    const std::lock_guard lock(mutex_);
    callDone_ = true;
  }
  finished_.notify_one();
  watcher_.join();
  g_object_unref(cancellable_);
}
