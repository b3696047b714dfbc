#include "model/TarnWireLineDecoder.h"

TarnWireLineDecoder::TarnWireLineDecoder(std::size_t maxBufferedBytes, TarnDateCoding dates)
    : maxBufferedBytes_(maxBufferedBytes), dates_(dates) {}

TarnWireLineDecoder::Result TarnWireLineDecoder::append(std::string_view bytes) {
  Result result;
  buffer_.append(bytes);
  std::size_t consumed =
      TarnWireCodec::decodeCompleteLines(buffer_, scannedBytes_, dates_, result.envelopes);
  // Only the partial line after the last line end moves, and it is shorter than `bytes`
  // whenever a line end was found.
  if (consumed > 0) buffer_.erase(0, consumed);
  scannedBytes_ = buffer_.size();

  if (buffer_.size() > maxBufferedBytes_) {
    buffer_.clear();
    buffer_.shrink_to_fit();
    scannedBytes_ = 0;
    result.overflowed = true;
  }
  return result;
}
