#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

typedef struct _GCancellable GCancellable;

// Cancels a blocking GLib call that runs longer than its limit, so a
// Secret Service that hangs (or waits on an unlock prompt nobody answers)
// holds the caller's thread for at most that long.
class TarnCallDeadline {
public:
  TarnCallDeadline(GCancellable* cancellable, std::chrono::milliseconds limit);
  ~TarnCallDeadline();
  TarnCallDeadline(const TarnCallDeadline&) = delete;
  TarnCallDeadline& operator=(const TarnCallDeadline&) = delete;

private:
  GCancellable* cancellable_;
  std::mutex mutex_;
  std::condition_variable finished_;
  bool callDone_ = false;
  std::thread watcher_;
};
