#pragma once
#include "tests/support/desktop/TarnPrivateSessionBus.h"
#include "tests/support/xvfb/TarnChildProcess.h"

#include <QDBusConnection>

#include <string>
#include <vector>

// A private bus with the logind stand-in on it. Everything is stopped by PID when it goes.
class TarnFakeLogin1 {
public:
  enum class Answer { accept, refuse };

  explicit TarnFakeLogin1(Answer answer = Answer::accept);

  bool isReady() const { return ready_; }
  // A connection to the private bus, for the code under test.
  QDBusConnection connection() { return connection_; }
  // The calls recorded so far, one line each.
  std::vector<std::string> calls();
  // Waits for a recorded line that contains `text`.
  bool waitForCall(const std::string& text) { return standIn_.waitForLine(text, 5000); }

private:
  TarnPrivateSessionBus bus_;
  TarnChildProcess standIn_;
  QDBusConnection connection_{QString()};
  bool ready_ = false;
};
