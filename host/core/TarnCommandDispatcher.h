#pragma once

#include "host/core/TarnHostUnit.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Hands each command to the unit that claims its name. Names are compared exactly.
class TarnCommandDispatcher {
public:
  // A name claimed twice stays with the unit added first.
  void addUnit(std::unique_ptr<TarnHostUnit> unit);
  // False when no unit claims the command's name; nothing is done then.
  bool dispatch(const TarnWireCommand& command, const TarnUUID& clientID);
  void forEachUnit(const std::function<void(TarnHostUnit&)>& action);

private:
  std::vector<std::unique_ptr<TarnHostUnit>> units_;
  std::unordered_map<std::string, TarnHostUnit*> unitsByName_;
};
