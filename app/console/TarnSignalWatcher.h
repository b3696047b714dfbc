#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

// Turns SIGINT and SIGTERM into a call on the event loop, through a signalfd.
class TarnSignalWatcher {
public:
  // Call first in main(), before any thread starts, so that every thread inherits the
  // mask and the signals wait for the watcher instead of ending the process.
  static bool blockStopSignals();

  // Needs the application object.
  explicit TarnSignalWatcher(std::function<void(int signal)> onSignal);
  ~TarnSignalWatcher();
  TarnSignalWatcher(const TarnSignalWatcher&) = delete;
  TarnSignalWatcher& operator=(const TarnSignalWatcher&) = delete;

  bool isWatching() const { return descriptor_ >= 0; }

private:
  void readSignal();

  int descriptor_ = -1;
  std::function<void(int)> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};
