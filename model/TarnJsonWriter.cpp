#include "model/TarnJsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence starting at `at`, or 0 when it is malformed
// (overlong forms, surrogates and code points above U+10FFFF included).
std::size_t validSequenceLength(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  unsigned char lead = byte(0);
  std::size_t remaining = text.size() - at;
  if (lead >= 0xC2 && lead <= 0xDF) {
    return remaining >= 2 && isContinuation(byte(1)) ? 2 : 0;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (remaining < 3 || !isContinuation(byte(1)) || !isContinuation(byte(2))) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0; // overlong
    if (lead == 0xED && byte(1) > 0x9F) return 0; // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (remaining < 4 || !isContinuation(byte(1)) || !isContinuation(byte(2)) ||
        !isContinuation(byte(3))) {
      return 0;
    }
    if (lead == 0xF0 && byte(1) < 0x90) return 0; // overlong
    if (lead == 0xF4 && byte(1) > 0x8F) return 0; // above U+10FFFF
    return 4;
  }
  return 0;
}

bool needsNoEscape(unsigned char byte) {
  return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
}

void appendEscapedControl(std::string& out, unsigned char byte) {
  switch (byte) {
  case '"': out += "\\\""; return;
  case '\\': out += "\\\\"; return;
  case '\b': out += "\\b"; return;
  case '\f': out += "\\f"; return;
  case '\n': out += "\\n"; return;
  case '\r': out += "\\r"; return;
  case '\t': out += "\\t"; return;
  default: {
    static constexpr char digits[] = "0123456789abcdef";
    char escape[] = {'\\', 'u', '0', '0', digits[byte >> 4], digits[byte & 0x0F]};
    out.append(escape, sizeof escape);
  }
  }
}

template <class Number>
void appendNumber(std::string& out, Number value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

} // namespace

void TarnJsonWriter::writeKey(std::string_view key) {
  out_.push_back('"');
  out_ += key;
  out_ += "\":";
}

void TarnJsonWriter::writeString(std::string_view text) {
  out_.reserve(out_.size() + text.size() + 2);
  out_.push_back('"');
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t runStart = i;
    while (i < text.size() && needsNoEscape(static_cast<unsigned char>(text[i]))) ++i;
    out_.append(text.data() + runStart, i - runStart);
    if (i == text.size()) break;

    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      appendEscapedControl(out_, byte);
      ++i;
    } else if (std::size_t length = validSequenceLength(text, i)) {
      out_.append(text.data() + i, length);
      i += length;
    } else {
      out_ += kReplacementCharacter;
      ++i;
    }
  }
  out_.push_back('"');
}

void TarnJsonWriter::writeInteger(std::int64_t value) {
  appendNumber(out_, value);
}

void TarnJsonWriter::writeUnsigned(std::uint64_t value) {
  appendNumber(out_, value);
}

void TarnJsonWriter::writeDouble(double value) {
  if (!std::isfinite(value)) {
    fail();
    return;
  }
  appendNumber(out_, value);
}

void TarnJsonWriter::writeBool(bool value) {
  out_ += value ? "true" : "false";
}

void TarnJsonWriter::writeDate(TarnDate date) {
  if (dates_ == TarnDateCoding::referenceSeconds) {
    writeDouble(date.secondsSinceReferenceDate());
    return;
  }
  auto text = date.iso8601String();
  if (!text) {
    fail();
    return;
  }
  writeString(*text);
}
