#include "model/TarnAgentMessages.h"

#include "model/TarnJsonCoding.h"

namespace {

constexpr std::string_view kSpawnedKey = "spawned";
constexpr std::string_view kDiscoveredKey = "discovered";
constexpr std::string_view kMultiplexerKey = "multiplexer";

template <class Record>
std::optional<Record> decodeRecord(std::string_view text) {
  return TarnJsonCoding::decode<Record>(text, TarnDateCoding::iso8601);
}

} // namespace

void tarnWriteJSON(TarnJsonWriter& writer, const TarnAgentSessionOrigin& origin) {
  writer.put('{');
  if (origin.isSpawned()) {
    writer.writeKey(kSpawnedKey);
    writer.put('{');
  } else {
    writer.writeKey(kDiscoveredKey);
    writer.put('{');
    writer.writeKey(kMultiplexerKey);
    writer.writeString(rawValue(*origin.discoveredIn));
  }
  writer.put('}');
  writer.put('}');
}

std::optional<TarnAgentSessionOrigin> tarnReadAgentOrigin(const nlohmann::json& json,
                                                          std::string* error) {
  auto failWith = [&](std::string_view reason) -> std::optional<TarnAgentSessionOrigin> {
    if (error) *error = reason;
    return std::nullopt;
  };
  if (!json.is_object()) return failWith("Expected an object.");
  auto spawned = json.find(kSpawnedKey);
  auto discovered = json.find(kDiscoveredKey);
  bool hasSpawned = spawned != json.end();
  bool hasDiscovered = discovered != json.end();
  if (hasSpawned == hasDiscovered) return failWith(tarnAgentOriginKeyCountError);

  if (hasSpawned) {
    if (!spawned->is_object()) return failWith("Expected an object for \"spawned\".");
    return TarnAgentSessionOrigin::spawned();
  }
  if (!discovered->is_object()) return failWith("Expected an object for \"discovered\".");
  auto multiplexer = discovered->find(kMultiplexerKey);
  if (multiplexer == discovered->end() || !multiplexer->is_string()) {
    return failWith("Missing multiplexer.");
  }
  auto kind = enumFromRawValue<TarnAgentMultiplexerKind>(multiplexer->get_ref<const std::string&>());
  if (!kind) return failWith("Unknown multiplexer.");
  return TarnAgentSessionOrigin::discovered(*kind);
}

bool tarnReadJSON(nlohmann::json& json, TarnAgentSessionOrigin& origin, TarnDateCoding) {
  auto decoded = tarnReadAgentOrigin(json);
  if (!decoded) return false;
  origin = *decoded;
  return true;
}

std::string TarnAgentStartRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnAgentStartRequest> TarnAgentStartRequest::decode(std::string_view text) {
  return decodeRecord<TarnAgentStartRequest>(text);
}

std::string TarnAgentPromptPayload::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnAgentPromptPayload> TarnAgentPromptPayload::decode(std::string_view text) {
  return decodeRecord<TarnAgentPromptPayload>(text);
}

std::string TarnAgentApprovalPayload::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnAgentApprovalPayload> TarnAgentApprovalPayload::decode(std::string_view text) {
  return decodeRecord<TarnAgentApprovalPayload>(text);
}

std::string TarnAgentAttachRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnAgentAttachRequest> TarnAgentAttachRequest::decode(std::string_view text) {
  return decodeRecord<TarnAgentAttachRequest>(text);
}

std::string TarnAgentEvent::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnAgentEvent> TarnAgentEvent::decode(std::string_view text) {
  return decodeRecord<TarnAgentEvent>(text);
}

std::string TarnWireAgentSessions::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireAgentSessions> TarnWireAgentSessions::decode(std::string_view text) {
  return decodeRecord<TarnWireAgentSessions>(text);
}
