#pragma once

#include "model/TarnDateCoding.h"
#include "model/TarnWireEnvelope.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Newline-delimited JSON framing of envelopes (local connections) and the single-message
// form used on the data channel. Holds no state; TarnWireLineDecoder keeps a connection's buffer.
class TarnWireCodec {
public:
  TarnWireCodec() = delete;

  // The most undecoded bytes a connection may keep once its complete lines are taken off.
  static constexpr std::size_t maxBufferedLineBytes = 41'943'040;

  // Compact JSON followed by one LF; empty when the envelope holds a value JSON cannot
  // carry (a non-finite number), so nothing is sent for it.
  static std::string encode(const TarnWireEnvelope& envelope,
                            TarnDateCoding dates = TarnDateCoding::iso8601);
  // Compact JSON without a line end, for message-based transports.
  static std::optional<std::string> encodeMessage(const TarnWireEnvelope& envelope,
                                                  TarnDateCoding dates);
  // One envelope from one JSON text; nothing on any failure.
  static std::optional<TarnWireEnvelope> decodeMessage(std::string_view json, TarnDateCoding dates);

  // Takes every complete line off the front of `buffer` and returns the envelopes that
  // decoded, in order; blank and undecodable lines are skipped, the partial line stays.
  static std::vector<TarnWireEnvelope> decodeAvailableLines(
      std::string& buffer, TarnDateCoding dates = TarnDateCoding::iso8601);

  // Decodes the complete lines of `bytes` into `envelopes`, looking for line ends from
  // `searchFrom` on (the caller knows the bytes before it hold none). Returns the number
  // of bytes the complete lines took, line ends included.
  static std::size_t decodeCompleteLines(std::string_view bytes, std::size_t searchFrom,
                                         TarnDateCoding dates,
                                         std::vector<TarnWireEnvelope>& envelopes);
};
