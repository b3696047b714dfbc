#pragma once
#include "tests/support/xvfb/TarnChildProcess.h"

#include <QDBusConnection>
#include <QTemporaryDir>

#include <string>
#include <vector>

// A private bus of its own (a dbus-daemon in a temporary folder) with the logind
// stand-in on it. Both are stopped by PID when it goes.
class TarnFakeLogin1 {
public:
  enum class Answer { accept, refuse };

  explicit TarnFakeLogin1(Answer answer = Answer::accept);
  ~TarnFakeLogin1();

  bool isReady() const { return ready_; }
  // A connection to the private bus, for the code under test.
  QDBusConnection connection() { return connection_; }
  // The calls recorded so far, one line each.
  std::vector<std::string> calls();
  // Waits for a recorded line that contains `text`.
  bool waitForCall(const std::string& text) { return standIn_.waitForLine(text, 5000); }

private:
  QTemporaryDir folder_;
  TarnChildProcess bus_;
  TarnChildProcess standIn_;
  QString connectionName_;
  QDBusConnection connection_{QString()};
  bool ready_ = false;
};
