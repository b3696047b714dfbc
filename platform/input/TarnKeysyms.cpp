#include "platform/input/TarnKeysyms.h"

uint32_t tarnKeysymForCodePoint(char32_t codePoint) {
  if (codePoint == U'\n' || codePoint == U'\r') return 0xff0d;  // Return
  if (codePoint == U'\t') return 0xff09;                        // Tab
  if (codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0)) return 0;
  if (codePoint > 0x10ffff || (codePoint >= 0xd800 && codePoint <= 0xdfff)) return 0;
  // Latin-1 keysyms equal their code points; everything else uses the Unicode keysym range.
  if (codePoint < 0x100) return uint32_t(codePoint);
  return 0x01000000u | uint32_t(codePoint);
}
