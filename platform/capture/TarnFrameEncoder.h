#pragma once
#include "platform/capture/TarnPixelView.h"

#include <cstdint>
#include <string>
#include <vector>

struct TarnEncodedFrame {
  std::string jpegBase64;
  int width = 0;
  int height = 0;
};

// Scales a captured image to the stream size, encodes it as JPEG and then base64.
// Keeps its buffers between frames; one encoder per thread.
class TarnFrameEncoder {
public:
  static constexpr int maxFrameWidth = 960;
  static constexpr int jpegQuality = 58;

  struct Size {
    int width;
    int height;
    bool operator==(const Size&) const = default;
  };
  // The frame size for a display of this size: at most 960 wide, aspect kept, truncated.
  static Size targetSize(int width, int height);

  TarnFrameEncoder();
  ~TarnFrameEncoder();
  TarnFrameEncoder(const TarnFrameEncoder&) = delete;
  TarnFrameEncoder& operator=(const TarnFrameEncoder&) = delete;

  // False when TurboJPEG refuses the image.
  bool encode(const TarnPixelView& image, TarnEncodedFrame& frame);

private:
  void* compressor_;
  std::vector<uint8_t> scaled_;
  unsigned char* jpeg_ = nullptr;
  unsigned long jpegCapacity_ = 0;
};
