#pragma once
#include "host/input/TarnKeepAwake.h"
#include "host/input/TarnSystemActions.h"
#include "model/TarnRemoteInput.h"
#include "platform/displayserver/TarnMonitorLayout.h"
#include "platform/input/TarnClipboardWriter.h"
#include "platform/input/TarnInputInjector.h"

#include <QString>

#include <cstdint>
#include <optional>

// Carries out one remote input on the desktop and says in one sentence what it did.
// Runs on the main thread.
class TarnMacInputController {
public:
  struct Backends {
    TarnInputInjector& injector;
    TarnClipboardWriter& clipboard;
    TarnSystemActions& system;
    TarnKeepAwake& keepAwake;
    TarnMonitorLayout& monitors;
  };
  // Wheel steps are whole clicks; a client's pixel deltas are this many pixels per click.
  static constexpr int pixelsPerWheelStep = 20;
  static constexpr int maxWheelStepsPerEvent = 50;

  explicit TarnMacInputController(Backends backends) : backends_(backends) {}

  // `displayID` is the streamed display that positions refer to; absent means the main one.
  QString perform(const TarnRemoteInputPayload& payload, std::optional<uint32_t> displayID);

private:
  QString performSystemAction(TarnRemoteInputAction action);
  QString performInputAction(const TarnRemoteInputPayload& payload, std::optional<uint32_t> displayID);
  void movePointer(double x, double y, std::optional<uint32_t> displayID);
  void scroll(double deltaX, double deltaY);
  bool paste(const std::string& text);

  Backends backends_;
};
