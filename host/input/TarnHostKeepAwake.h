#pragma once

// When the hosting keep-awake should hold.
struct TarnHostKeepAwake {
  // Exactly when the machine is reachable over the internet and the owner wants it kept so.
  static bool shouldHold(bool remoteAccessReachable, bool userToggle) { return remoteAccessReachable && userToggle; }
};
