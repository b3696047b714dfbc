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
  struct Line {
    std::size_t start;
    std::size_t length;
  };
  std::vector<Line> lines;
  std::size_t lineStart = 0;
  while (searchFrom < bytes.size()) {
    const void* found = std::memchr(bytes.data() + searchFrom, '\n', bytes.size() - searchFrom);
    if (!found) break;
    auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    if (lineEnd > lineStart) lines.push_back({lineStart, lineEnd - lineStart});
    lineStart = lineEnd + 1;
    searchFrom = lineStart;
  }

  // Envelopes are large: decode each in its final place instead of moving it there.
  envelopes.reserve(envelopes.size() + lines.size());
  for (const auto& line : lines) {
    // A CR before the LF is JSON white space and needs no special case.
    auto& envelope = envelopes.emplace_back();
    if (!TarnJsonCoding::decodeInto(bytes.substr(line.start, line.length), envelope, dates)) {
      envelopes.pop_back();
    }
  }
  return lineStart;
}
