#pragma once

#include "model/TarnDate.h"
#include "model/TarnDateCoding.h"
#include "model/TarnJsonWriter.h"
#include "model/TarnRawEnum.h"
#include "model/TarnUUID.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// JSON coding of every record, driven by each record's field list. A record lists its
// fields once, for both directions:
//
//   template <class Self, class Visitor>
//   static void visitFields(Self& self, Visitor& visit) {
//     visit("hostID", self.hostID);
//     ...
//   }
//
// Keys are the field names; absent optionals are left out and read back from a missing
// key or null; unknown keys are ignored; a required key that is missing, null or of the
// wrong type fails the whole value. Types with a form of their own provide
// `void tarnWriteJSON(TarnJsonWriter&, const T&)` and
// `bool tarnReadJSON(nlohmann::json&, T&, TarnDateCoding)`, found by argument-dependent lookup.
namespace TarnJsonCoding {

using Json = nlohmann::json;

struct FieldProbe {
  template <class Value>
  void operator()(std::string_view, Value&) const {}
};

template <class T>
concept Record = requires(T& record, FieldProbe& probe) { T::visitFields(record, probe); };

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

template <class T>
void writeValue(TarnJsonWriter& writer, const T& value);

template <Record T>
void writeRecord(TarnJsonWriter& writer, const T& record) {
  writer.put('{');
  bool first = true;
  auto visit = [&](std::string_view key, const auto& field) {
    using Field = std::remove_cvref_t<decltype(field)>;
    if constexpr (IsOptional<Field>::value) {
      if (!field) return;
    }
    if (!first) writer.put(',');
    first = false;
    writer.writeKey(key);
    if constexpr (IsOptional<Field>::value) {
      writeValue(writer, *field);
    } else {
      writeValue(writer, field);
    }
  };
  T::visitFields(record, visit);
  writer.put('}');
}

template <class T>
void writeValue(TarnJsonWriter& writer, const T& value) {
  if constexpr (std::is_same_v<T, std::string>) {
    writer.writeString(value);
  } else if constexpr (std::is_same_v<T, bool>) {
    writer.writeBool(value);
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    writer.writeInteger(value);
  } else if constexpr (std::is_same_v<T, std::uint32_t>) {
    writer.writeUnsigned(value);
  } else if constexpr (std::is_same_v<T, double>) {
    writer.writeDouble(value);
  } else if constexpr (std::is_same_v<T, TarnDate>) {
    writer.writeDate(value);
  } else if constexpr (std::is_same_v<T, TarnUUID>) {
    writer.writeString(value.uuidString());
  } else if constexpr (TarnRawEnum<T>) {
    writer.writeString(rawValue(value));
  } else if constexpr (IsVector<T>::value) {
    writer.put('[');
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (i > 0) writer.put(',');
      writeValue(writer, value[i]);
    }
    writer.put(']');
  } else if constexpr (Record<T>) {
    writeRecord(writer, value);
  } else {
    tarnWriteJSON(writer, value);
  }
}

bool readInteger(const Json& json, std::int64_t& out);
bool readUnsigned32(const Json& json, std::uint32_t& out);
bool readDouble(const Json& json, double& out);
bool readDate(const Json& json, TarnDate& out, TarnDateCoding dates);
bool readUUID(const Json& json, TarnUUID& out);

template <class T>
bool readValue(Json& json, T& out, TarnDateCoding dates);

// Walks the keys the object holds rather than looking up every field: envelopes carry
// two keys out of seventeen. Fields start from their defaults, so absent optionals stay empty.
template <Record T>
bool readRecord(Json& json, T& record, TarnDateCoding dates) {
  auto* object = json.get_ptr<Json::object_t*>();
  if (!object) return false;
  std::uint64_t seenFields = 0;
  bool ok = true;
  for (auto& member : *object) {
    const std::string& key = member.first;
    Json& value = member.second;
    std::size_t index = 0;
    bool matched = false;
    auto readField = [&](std::string_view name, auto& field) {
      if (matched || name != key) {
        ++index;
        return;
      }
      matched = true;
      using Field = std::remove_cvref_t<decltype(field)>;
      if (value.is_null()) {
        if constexpr (IsOptional<Field>::value) field.reset();
        return; // a required field stays unseen
      }
      seenFields |= std::uint64_t{1} << index;
      if constexpr (IsOptional<Field>::value) {
        ok = readValue(value, field.emplace(), dates);
      } else {
        ok = readValue(value, field, dates);
      }
    };
    T::visitFields(record, readField);
    if (!ok) return false;
  }

  std::size_t index = 0;
  auto checkRequired = [&](std::string_view, auto& field) {
    using Field = std::remove_cvref_t<decltype(field)>;
    if constexpr (!IsOptional<Field>::value) {
      if (!(seenFields >> index & 1)) ok = false;
    }
    ++index;
  };
  T::visitFields(record, checkRequired);
  return ok;
}

template <class T>
bool readValue(Json& json, T& out, TarnDateCoding dates) {
  if constexpr (std::is_same_v<T, std::string>) {
    auto* text = json.get_ptr<std::string*>();
    if (!text) return false;
    out = std::move(*text);
    return true;
  } else if constexpr (std::is_same_v<T, bool>) {
    auto* flag = json.get_ptr<const bool*>();
    if (!flag) return false;
    out = *flag;
    return true;
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    return readInteger(json, out);
  } else if constexpr (std::is_same_v<T, std::uint32_t>) {
    return readUnsigned32(json, out);
  } else if constexpr (std::is_same_v<T, double>) {
    return readDouble(json, out);
  } else if constexpr (std::is_same_v<T, TarnDate>) {
    return readDate(json, out, dates);
  } else if constexpr (std::is_same_v<T, TarnUUID>) {
    return readUUID(json, out);
  } else if constexpr (TarnRawEnum<T>) {
    auto* text = json.get_ptr<const std::string*>();
    if (!text) return false;
    auto value = enumFromRawValue<T>(*text);
    if (!value) return false;
    out = *value;
    return true;
  } else if constexpr (IsVector<T>::value) {
    if (!json.is_array()) return false;
    out.clear();
    out.reserve(json.size());
    for (auto& element : json) {
      typename T::value_type value{};
      if (!readValue(element, value, dates)) return false;
      out.push_back(std::move(value));
    }
    return true;
  } else if constexpr (Record<T>) {
    return readRecord(json, out, dates);
  } else {
    return tarnReadJSON(json, out, dates);
  }
}

// Parses JSON text; a discarded document when it is not exactly one JSON value.
Json parse(std::string_view text);

// Compact JSON text of a value; nothing when it holds a value JSON cannot carry.
template <class T>
std::optional<std::string> encode(const T& value, TarnDateCoding dates) {
  std::string out;
  TarnJsonWriter writer(out, dates);
  writeValue(writer, value);
  if (writer.failed()) return std::nullopt;
  return out;
}

// Decodes one JSON text into a value that holds its defaults; false on any failure,
// never an exception. `value` is unspecified after a failure.
template <class T>
bool decodeInto(std::string_view text, T& value, TarnDateCoding dates) {
  try {
    Json json = parse(text);
    return !json.is_discarded() && readValue(json, value, dates);
  } catch (const nlohmann::json::exception&) {
    return false;
  }
}

// Decodes one JSON text; nothing on any failure.
template <class T>
std::optional<T> decode(std::string_view text, TarnDateCoding dates) {
  std::optional<T> value(std::in_place);
  if (!decodeInto(text, *value, dates)) value.reset();
  return value;
}

// The text a request record carries in a command payload: "{}" when it cannot be encoded.
template <class T>
std::string encodedString(const T& value, TarnDateCoding dates = TarnDateCoding::iso8601) {
  return encode(value, dates).value_or("{}");
}

} // namespace TarnJsonCoding
