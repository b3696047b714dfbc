#include "tests/support/lineclient/TarnEventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const QDeadlineTimer deadline(timeout);
  // Wakes the blocking wait now and then, so the deadline is noticed without other events.
  QTimer wake;
  wake.setInterval(std::chrono::milliseconds(20));
  wake.start();
  while (!condition()) {
    if (deadline.hasExpired()) return condition();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}
