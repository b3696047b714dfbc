#pragma once

#include "model/TarnDateCoding.h"
#include "model/TarnWireCodec.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The receive buffer of one connection. Each byte is scanned for a line end once, so a
// long line that arrives in many pieces costs time in proportion to its length.
class TarnWireLineDecoder {
public:
  struct Result {
    std::vector<TarnWireEnvelope> envelopes;
    // More than the limit stayed undecoded: the buffer was emptied and the owner should close.
    bool overflowed = false;
  };

  explicit TarnWireLineDecoder(std::size_t maxBufferedBytes = TarnWireCodec::maxBufferedLineBytes,
                               TarnDateCoding dates = TarnDateCoding::iso8601);

  // Appends received bytes and takes off every line they complete. The envelopes of those
  // lines come back even when the remainder overflows.
  Result append(std::string_view bytes);

  std::size_t bufferedBytes() const { return buffer_.size(); }
  std::size_t maxBufferedBytes() const { return maxBufferedBytes_; }
  // Takes effect at the next append.
  void setMaxBufferedBytes(std::size_t maxBufferedBytes) { maxBufferedBytes_ = maxBufferedBytes; }

private:
  std::string buffer_;
  std::size_t scannedBytes_ = 0; // the first bytes of buffer_ known to hold no line end
  std::size_t maxBufferedBytes_;
  TarnDateCoding dates_;
};
