#include "platform/capture/TarnBase64.h"

void tarnAppendBase64(const uint8_t* data, size_t size, std::string& out) {
  static constexpr char alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  size_t start = out.size();
  out.resize(start + (size + 2) / 3 * 4);
  char* write = out.data() + start;
  size_t i = 0;
  for (; i + 3 <= size; i += 3) {
    uint32_t group = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | data[i + 2];
    *write++ = alphabet[group >> 18];
    *write++ = alphabet[(group >> 12) & 63];
    *write++ = alphabet[(group >> 6) & 63];
    *write++ = alphabet[group & 63];
  }
  if (size_t rest = size - i; rest > 0) {
    uint32_t group = uint32_t(data[i]) << 16;
    if (rest == 2) group |= uint32_t(data[i + 1]) << 8;
    *write++ = alphabet[group >> 18];
    *write++ = alphabet[(group >> 12) & 63];
    *write++ = rest == 2 ? alphabet[(group >> 6) & 63] : '=';
    *write++ = '=';
  }
}
