#include "host/input/TarnKeepAwake.h"

namespace {
const QString who = QStringLiteral("Tarnhold Host");
}

QString TarnKeepAwake::setKeepAwake(TarnSwitch state) {
  if (state == TarnSwitch::off) {
    session_.reset();
    return QStringLiteral("Tarnhold stopped keeping this Mac awake.");
  }
  if (session_) return QStringLiteral("Tarnhold is already keeping this Mac awake.");
  // Idle as well as sleep: the screen stays on while the owner works remotely.
  session_ = logind_.inhibit(TarnInhibitScope::sleepAndIdle, who, QStringLiteral("A remote session is active"));
  if (!session_) return QStringLiteral("Tarnhold could not start the keep-awake helper.");
  return QStringLiteral("Tarnhold will keep this Mac awake during the session.");
}

void TarnKeepAwake::setHostingKeepAwake(TarnSwitch state) {
  if (state == TarnSwitch::off) {
    hosting_.reset();
    return;
  }
  // Sleep only: the display may go dark while the machine waits to be reached.
  if (!hosting_) hosting_ = logind_.inhibit(TarnInhibitScope::sleepOnly, who, QStringLiteral("Reachable over the internet"));
}
