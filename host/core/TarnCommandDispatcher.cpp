#include "host/core/TarnCommandDispatcher.h"

void TarnCommandDispatcher::addUnit(std::unique_ptr<TarnHostUnit> unit) {
  for (const std::string& name : unit->commandNames()) unitsByName_.try_emplace(name, unit.get());
  units_.push_back(std::move(unit));
}

bool TarnCommandDispatcher::dispatch(const TarnWireCommand& command, const TarnUUID& clientID) {
  const auto owner = unitsByName_.find(command.name);
  if (owner == unitsByName_.end()) return false;
  owner->second->handleCommand(command, clientID);
  return true;
}

void TarnCommandDispatcher::forEachUnit(const std::function<void(TarnHostUnit&)>& action) {
  for (const auto& unit : units_) action(*unit);
}
