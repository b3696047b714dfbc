#include "app/console/TarnSignalWatcher.h"

#include <csignal>

#include <sys/signalfd.h>
#include <unistd.h>

namespace {
sigset_t stopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}
}  // namespace

bool TarnSignalWatcher::blockStopSignals() {
  const sigset_t signals = stopSignals();
  return pthread_sigmask(SIG_BLOCK, &signals, nullptr) == 0;
}

TarnSignalWatcher::TarnSignalWatcher(std::function<void(int signal)> onSignal) : onSignal_(std::move(onSignal)) {
  const sigset_t signals = stopSignals();
  descriptor_ = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
  if (descriptor_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readSignal(); });
}

TarnSignalWatcher::~TarnSignalWatcher() {
  notifier_.reset();
  if (descriptor_ >= 0) ::close(descriptor_);
}

void TarnSignalWatcher::readSignal() {
  signalfd_siginfo info{};
  while (::read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    onSignal_(static_cast<int>(info.ssi_signo));
  }
}
