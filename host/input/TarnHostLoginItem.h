#pragma once

// What the launch-at-login switch shows after an attempt to change it.
struct TarnHostLoginItem {
  static bool nextState(bool requested, bool registerSucceeded) { return requested && registerSucceeded; }
};
