#pragma once

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// The keys of the JSON object in `text` (a trailing line end is allowed), sorted.
inline std::vector<std::string> jsonKeys(std::string_view text) {
  auto json = nlohmann::json::parse(text);
  std::vector<std::string> keys;
  for (const auto& item : json.items()) keys.push_back(item.key());
  std::sort(keys.begin(), keys.end());
  return keys;
}

inline std::vector<std::string> sortedKeys(std::vector<std::string> keys) {
  std::sort(keys.begin(), keys.end());
  return keys;
}
