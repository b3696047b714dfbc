#pragma once
#include "host/input/TarnSwitch.h"
#include "platform/logind/TarnLogindClient.h"

#include <memory>

// The two independent keep-awake holds: the session one a client switches, and the
// hosting one the owner holds while the machine is to stay reachable over the internet.
class TarnKeepAwake {
public:
  explicit TarnKeepAwake(TarnLogindClient& logind) : logind_(logind) {}

  // Switches the session hold and says what became of it.
  QString setKeepAwake(TarnSwitch state);
  void stopKeepAwake() { session_.reset(); }
  void setHostingKeepAwake(TarnSwitch state);

  bool isKeepingAwake() const { return session_ != nullptr; }
  bool isHostingKeepingAwake() const { return hosting_ != nullptr; }

private:
  TarnLogindClient& logind_;
  std::unique_ptr<TarnSleepInhibitor> session_;
  std::unique_ptr<TarnSleepInhibitor> hosting_;
};
