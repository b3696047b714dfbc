#include "model/TarnJsonCoding.h"

#include <cmath>

namespace TarnJsonCoding {

bool readInteger(const Json& json, std::int64_t& out) {
  // Checked first: the signed accessor also answers for unsigned values.
  if (auto* value = json.get_ptr<const Json::number_unsigned_t*>()) {
    if (*value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
    out = static_cast<std::int64_t>(*value);
    return true;
  }
  if (auto* value = json.get_ptr<const Json::number_integer_t*>()) {
    out = *value;
    return true;
  }
  return false;
}

bool readUnsigned32(const Json& json, std::uint32_t& out) {
  std::int64_t value = 0;
  if (!readInteger(json, value)) return false;
  if (value < 0 || value > std::numeric_limits<std::uint32_t>::max()) return false;
  out = static_cast<std::uint32_t>(value);
  return true;
}

bool readDouble(const Json& json, double& out) {
  if (!json.is_number()) return false;
  out = json.get<double>();
  return true;
}

bool readDate(const Json& json, TarnDate& out, TarnDateCoding dates) {
  if (dates == TarnDateCoding::referenceSeconds) {
    double seconds = 0;
    if (!readDouble(json, seconds) || !std::isfinite(seconds)) return false;
    out = TarnDate(seconds);
    return true;
  }
  auto* text = json.get_ptr<const std::string*>();
  if (!text) return false;
  auto date = TarnDate::parseISO8601(*text);
  if (!date) return false;
  out = *date;
  return true;
}

bool readUUID(const Json& json, TarnUUID& out) {
  auto* text = json.get_ptr<const std::string*>();
  if (!text) return false;
  auto uuid = TarnUUID::parse(*text);
  if (!uuid) return false;
  out = *uuid;
  return true;
}

Json parse(std::string_view text) {
  return Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
}

} // namespace TarnJsonCoding
