// Feeds arbitrary bytes, cut into arbitrary receives, to the line decoder. Checks that the
// cut points do not change what decodes and that every decoded envelope survives
// encoding and decoding again.

#include "model/TarnWireCodec.h"
#include "model/TarnWireLineDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkRoundTrip(const TarnWireEnvelope& envelope, TarnDateCoding dates) {
  std::string line = TarnWireCodec::encode(envelope, dates);
  if (line.empty()) return; // holds a date the ISO form cannot write
  require(line.back() == '\n');
  require(line.find('\n') == line.size() - 1);
  auto again = TarnWireCodec::decodeMessage(std::string_view(line).substr(0, line.size() - 1), dates);
  require(again && *again == envelope);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // First byte: date coding and receive sizes; second: the buffer limit.
  const std::uint8_t shape = data[0];
  const TarnDateCoding dates =
      shape & 1 ? TarnDateCoding::referenceSeconds : TarnDateCoding::iso8601;
  const std::size_t receiveSize = 1 + (shape >> 1);
  const std::size_t limit = data[1] == 0xFF ? TarnWireCodec::maxBufferedLineBytes : data[1] * 16u;
  std::string_view stream(reinterpret_cast<const char*>(data + 2), size - 2);

  TarnWireLineDecoder decoder(limit, dates);
  std::vector<TarnWireEnvelope> chunked;
  bool overflowed = false;
  for (std::size_t at = 0; at < stream.size(); at += receiveSize) {
    auto result = decoder.append(stream.substr(at, receiveSize));
    overflowed |= result.overflowed;
    require(decoder.bufferedBytes() <= limit);
    for (auto& envelope : result.envelopes) chunked.push_back(std::move(envelope));
  }

  if (!overflowed) {
    std::string whole(stream);
    auto expected = TarnWireCodec::decodeAvailableLines(whole, dates);
    require(chunked == expected);
    require(whole.size() == decoder.bufferedBytes());
  }
  for (const auto& envelope : chunked) checkRoundTrip(envelope, dates);
  return 0;
}
