#include "host/input/TarnRecordingSystemActions.h"

bool TarnRecordingSystemActions::record(std::string name) {
  calls.push_back(std::move(name));
  return succeeds;
}
