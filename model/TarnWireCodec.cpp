#include "model/TarnWireCodec.h"

#include "model/TarnJsonCoding.h"

#include <cstring>

std::string TarnWireCodec::encode(const TarnWireEnvelope& envelope, TarnDateCoding dates) {
  std::string line;
  TarnJsonWriter writer(line, dates);
  TarnJsonCoding::writeValue(writer, envelope);
  if (writer.failed()) return {};
  line.push_back('\n');
  return line;
}

std::optional<std::string> TarnWireCodec::encodeMessage(const TarnWireEnvelope& envelope,
                                                        TarnDateCoding dates) {
  return TarnJsonCoding::encode(envelope, dates);
}

std::optional<TarnWireEnvelope> TarnWireCodec::decodeMessage(std::string_view json,
                                                             TarnDateCoding dates) {
  return TarnJsonCoding::decode<TarnWireEnvelope>(json, dates);
}

std::vector<TarnWireEnvelope> TarnWireCodec::decodeAvailableLines(std::string& buffer,
                                                                  TarnDateCoding dates) {
  std::vector<TarnWireEnvelope> envelopes;
  std::size_t consumed = decodeCompleteLines(buffer, 0, dates, envelopes);
  buffer.erase(0, consumed);
  return envelopes;
}

std::size_t TarnWireCodec::decodeCompleteLines(std::string_view bytes, std::size_t searchFrom,
                                               TarnDateCoding dates,
                                               std::vector<TarnWireEnvelope>& envelopes) {
  std::size_t lineStart = 0;
  while (searchFrom < bytes.size()) {
    const void* found = std::memchr(bytes.data() + searchFrom, '\n', bytes.size() - searchFrom);
    if (!found) break;
    auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    // A CR before the LF is JSON white space and needs no special case.
    std::string_view line = bytes.substr(lineStart, lineEnd - lineStart);
    if (!line.empty()) {
      if (auto envelope = decodeMessage(line, dates)) envelopes.push_back(std::move(*envelope));
    }
    lineStart = lineEnd + 1;
    searchFrom = lineStart;
  }
  return lineStart;
}
