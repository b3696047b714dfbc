#include "host/runner/TarnOutputRing.h"

#include <algorithm>

TarnOutputRing::TarnOutputRing(std::size_t capacity) : storage_(capacity) {}

void TarnOutputRing::append(std::string_view bytes) {
  const std::size_t capacity = storage_.size();
  totalBytes_ += bytes.size();
  if (capacity == 0) {
    return;
  }
  if (bytes.size() >= capacity) {
    std::copy(bytes.end() - static_cast<std::ptrdiff_t>(capacity), bytes.end(), storage_.begin());
    next_ = 0;
    return;
  }
  const std::size_t firstPart = std::min(bytes.size(), capacity - next_);
  std::copy_n(bytes.begin(), firstPart, storage_.begin() + static_cast<std::ptrdiff_t>(next_));
  std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(firstPart), bytes.end(), storage_.begin());
  next_ = (next_ + bytes.size()) % capacity;
}

std::string TarnOutputRing::contents() const {
  if (!wasTruncated()) {
    return std::string(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(totalBytes_));
  }
  std::string result(storage_.begin() + static_cast<std::ptrdiff_t>(next_), storage_.end());
  result.append(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(next_));
  return result;
}
