#pragma once
#include "platform/displayserver/TarnMonitor.h"

#include <optional>
#include <string>
#include <vector>

// The order and names in which displays are offered to clients: the main display
// ("Main Display") first, then the others by ascending id, named by position.
class TarnDisplayOrder {
public:
  // Exactly one monitor of the result is primary: the server's primary monitor,
  // or its first one when it names none.
  static std::vector<TarnMonitor> sorted(std::vector<TarnMonitor> monitors);
  // The requested monitor when it is in `sorted`, else the main one; none when empty.
  static std::optional<TarnMonitor> choose(const std::vector<TarnMonitor>& sorted,
                                           std::optional<uint32_t> requestedID);
  // Name of the monitor at `index` (0-based) of a sorted list.
  static std::string name(const std::vector<TarnMonitor>& sorted, size_t index);
};
