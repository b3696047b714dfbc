#include "platform/capture/TarnDisplayOrder.h"

#include <algorithm>

std::vector<TarnMonitor> TarnDisplayOrder::sorted(std::vector<TarnMonitor> monitors) {
  if (monitors.empty()) return monitors;
  auto main = std::find_if(monitors.begin(), monitors.end(),
                           [](const TarnMonitor& monitor) { return monitor.isPrimary; });
  if (main == monitors.end()) main = monitors.begin();
  uint32_t mainID = main->id;
  for (TarnMonitor& monitor : monitors) monitor.isPrimary = monitor.id == mainID;
  std::stable_sort(monitors.begin(), monitors.end(), [](const TarnMonitor& a, const TarnMonitor& b) {
    if (a.isPrimary != b.isPrimary) return a.isPrimary;
    return a.id < b.id;
  });
  return monitors;
}

std::optional<TarnMonitor> TarnDisplayOrder::choose(const std::vector<TarnMonitor>& sorted,
                                                    std::optional<uint32_t> requestedID) {
  if (requestedID) {
    for (const TarnMonitor& monitor : sorted)
      if (monitor.id == *requestedID) return monitor;
  }
  if (sorted.empty()) return std::nullopt;
  return sorted.front();
}

std::string TarnDisplayOrder::name(const std::vector<TarnMonitor>& sorted, size_t index) {
  if (index < sorted.size() && sorted[index].isPrimary) return "Main Display";
  return "Display " + std::to_string(index + 1);
}
