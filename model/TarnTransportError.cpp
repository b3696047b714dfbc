#include "model/TarnTransportError.h"

std::string TarnTransportError::errorDescription() const {
  switch (kind) {
  case Kind::permissionMissing:
    return permissionName + " is required before remote control can start.";
  case Kind::deviceNotTrusted:
    return "This device has not been approved by the Mac host.";
  case Kind::channelUnavailable:
    return "The secure transport channel is unavailable.";
  }
  return {};
}
