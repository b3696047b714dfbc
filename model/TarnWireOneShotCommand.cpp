#include "model/TarnWireOneShotCommand.h"

#include "model/TarnJsonCoding.h"

std::string TarnWireTerminalRequest::encodedString() const {
  return TarnJsonCoding::encodedString(*this);
}

std::optional<TarnWireTerminalRequest> TarnWireTerminalRequest::decode(std::string_view text) {
  return TarnJsonCoding::decode<TarnWireTerminalRequest>(text, TarnDateCoding::iso8601);
}
