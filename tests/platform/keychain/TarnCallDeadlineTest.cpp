#include "platform/keychain/TarnCallDeadline.h"

#include <gio/gio.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

struct Cancellable {
  GCancellable* object = g_cancellable_new();
  ~Cancellable() { g_object_unref(object); }
  bool cancelled() const { return g_cancellable_is_cancelled(object); }
};

TEST(TarnCallDeadlineTest, CancelsACallThatOutlivesItsLimit) {
  Cancellable call;
  const TarnCallDeadline deadline(call.object, std::chrono::milliseconds(1));
  while (!call.cancelled())
    std::this_thread::yield(); // the test's time-out catches a deadline that never fires
}

TEST(TarnCallDeadlineTest, LeavesACallThatEndsInTimeAndDoesNotWaitOutTheLimit) {
  Cancellable call;
  { const TarnCallDeadline deadline(call.object, std::chrono::hours(1)); }
  EXPECT_FALSE(call.cancelled());
}

} // namespace
