#include "platform/capture/TarnFrameEncoder.h"

#include "model/TarnBase64.h"

#include <libyuv/scale_argb.h>
#include <turbojpeg.h>

#include <algorithm>

TarnFrameEncoder::Size TarnFrameEncoder::targetSize(int width, int height) {
  double scale = width < 2 ? 1.0 : std::min(double(maxFrameWidth) / width, 1.0);
  return {std::max(int(width * scale), 1), std::max(int(height * scale), 1)};
}

TarnFrameEncoder::TarnFrameEncoder() : compressor_(tjInitCompress()) {}

TarnFrameEncoder::~TarnFrameEncoder() {
  if (jpeg_) tjFree(jpeg_);
  if (compressor_) tjDestroy(compressor_);
}

bool TarnFrameEncoder::encode(const TarnPixelView& image, TarnEncodedFrame& frame) {
  if (!compressor_ || !image.pixels || image.width <= 0 || image.height <= 0) return false;
  Size target = targetSize(image.width, image.height);
  const uint8_t* source = image.pixels;
  int stride = image.stride;
  if (target.width != image.width || target.height != image.height) {
    scaled_.resize(size_t(target.width) * target.height * 4);
    libyuv::ARGBScale(image.pixels, image.stride, image.width, image.height, scaled_.data(),
                      target.width * 4, target.width, target.height, libyuv::kFilterBox);
    source = scaled_.data();
    stride = target.width * 4;
  }
  // Preallocating the worst case lets TurboJPEG write in place every frame.
  unsigned long needed = tjBufSize(target.width, target.height, TJSAMP_420);
  if (needed > jpegCapacity_) {
    if (jpeg_) tjFree(jpeg_);
    jpeg_ = tjAlloc(int(needed));
    jpegCapacity_ = jpeg_ ? needed : 0;
    if (!jpeg_) return false;
  }
  unsigned long jpegSize = jpegCapacity_;
  if (tjCompress2(compressor_, source, target.width, stride, target.height, TJPF_BGRX, &jpeg_,
                  &jpegSize, TJSAMP_420, jpegQuality, TJFLAG_NOREALLOC) != 0)
    return false;
  frame.jpegBase64 = TarnBase64::encode(std::string_view(reinterpret_cast<const char*>(jpeg_), jpegSize));
  frame.width = target.width;
  frame.height = target.height;
  return true;
}
