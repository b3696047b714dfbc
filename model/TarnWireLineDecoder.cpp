#include "model/TarnWireLineDecoder.h"

TarnWireLineDecoder::TarnWireLineDecoder(std::size_t maxBufferedBytes, TarnDateCoding dates)
    : maxBufferedBytes_(maxBufferedBytes), dates_(dates) {}

TarnWireLineDecoder::Result TarnWireLineDecoder::append(std::string_view bytes) {
  Result result;
  if (buffer_.empty()) {
    // Nothing is pending: decode straight from the received bytes and keep only the rest.
    std::size_t consumed = TarnWireCodec::decodeCompleteLines(bytes, 0, dates_, result.envelopes);
    buffer_.assign(bytes.substr(consumed));
  } else {
    buffer_.append(bytes);
    std::size_t consumed =
        TarnWireCodec::decodeCompleteLines(buffer_, scannedBytes_, dates_, result.envelopes);
    // Only the partial line after the last line end moves, and it lies within `bytes`
    // whenever a line end was found.
    if (consumed > 0) buffer_.erase(0, consumed);
  }
  scannedBytes_ = buffer_.size();

  if (buffer_.size() > maxBufferedBytes_) {
    buffer_.clear();
    buffer_.shrink_to_fit();
    scannedBytes_ = 0;
    result.overflowed = true;
  }
  return result;
}
