#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

// Runs the event loop until `condition` holds or the generous deadline passes; returns `condition()`.
template <typename Condition>
bool tarnWaitUntil(Condition condition, int deadlineMilliseconds = 30'000) {
  const QDeadlineTimer deadline(deadlineMilliseconds);
  while (!condition() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
  return condition();
}

// One QCoreApplication for the whole test program, unless another helper made it already.
inline QCoreApplication& tarnTestApplication() {
  if (QCoreApplication* existing = QCoreApplication::instance()) {
    return *existing;
  }
  static int argc = 1;
  static char name[] = "tarnhold-test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
  return application;
}
