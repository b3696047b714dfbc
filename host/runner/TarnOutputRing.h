#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Keeps the newest `capacity` bytes of a stream, however much of it passes through.
class TarnOutputRing {
public:
  explicit TarnOutputRing(std::size_t capacity);

  void append(std::string_view bytes);
  // The kept bytes, oldest first.
  std::string contents() const;
  bool wasTruncated() const { return totalBytes_ > storage_.size(); }

private:
  std::vector<char> storage_;
  std::size_t next_ = 0; // where the next byte goes once the ring is full
  std::uint64_t totalBytes_ = 0;
};
