#pragma once

#include "model/TarnDate.h"
#include "model/TarnDateCoding.h"

#include <cstdint>
#include <string>
#include <string_view>

// Writes compact JSON straight into a string, without building a document first.
// A value that JSON cannot carry (a non-finite number or date) marks the writer failed.
class TarnJsonWriter {
public:
  TarnJsonWriter(std::string& out, TarnDateCoding dates) : out_(out), dates_(dates) {}

  bool failed() const { return failed_; }
  void fail() { failed_ = true; }

  void put(char c) { out_.push_back(c); }
  // A key known to need no escaping, followed by the colon.
  void writeKey(std::string_view key);
  // Escapes quotes, backslashes and control characters; bytes that are not UTF-8 become U+FFFD.
  void writeString(std::string_view text);
  void writeInteger(std::int64_t value);
  void writeUnsigned(std::uint64_t value);
  void writeDouble(double value);
  void writeBool(bool value);
  void writeDate(TarnDate date);

private:
  std::string& out_;
  TarnDateCoding dates_;
  bool failed_ = false;
};
