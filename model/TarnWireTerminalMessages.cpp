#include "model/TarnWireTerminalMessages.h"

#include "model/TarnJsonCoding.h"

namespace {

template <class Request>
std::optional<Request> decodeRequest(std::string_view text) {
  return TarnJsonCoding::decode<Request>(text, TarnDateCoding::iso8601);
}

} // namespace

std::string TarnWireTerminalOpenRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireTerminalOpenRequest> TarnWireTerminalOpenRequest::decode(std::string_view text) {
  return decodeRequest<TarnWireTerminalOpenRequest>(text);
}

std::string TarnWireTerminalAttachRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireTerminalAttachRequest> TarnWireTerminalAttachRequest::decode(std::string_view text) {
  return decodeRequest<TarnWireTerminalAttachRequest>(text);
}

std::string TarnWireTerminalInputPayload::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireTerminalInputPayload> TarnWireTerminalInputPayload::decode(std::string_view text) {
  return decodeRequest<TarnWireTerminalInputPayload>(text);
}

std::string TarnWireTerminalResizePayload::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireTerminalResizePayload> TarnWireTerminalResizePayload::decode(std::string_view text) {
  return decodeRequest<TarnWireTerminalResizePayload>(text);
}

std::string TarnWireTerminalCloseRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}
std::optional<TarnWireTerminalCloseRequest> TarnWireTerminalCloseRequest::decode(std::string_view text) {
  return decodeRequest<TarnWireTerminalCloseRequest>(text);
}
