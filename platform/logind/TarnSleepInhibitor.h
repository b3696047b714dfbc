#pragma once
#include <QDBusUnixFileDescriptor>

// A logind inhibitor lock: the system keeps from sleeping while this object, and so
// the descriptor logind handed out, is alive.
class TarnSleepInhibitor {
public:
  explicit TarnSleepInhibitor(QDBusUnixFileDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

private:
  QDBusUnixFileDescriptor descriptor_;
};
