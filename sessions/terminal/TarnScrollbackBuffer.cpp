#include "sessions/terminal/TarnScrollbackBuffer.h"

#include <algorithm>

TarnScrollbackBuffer::TarnScrollbackBuffer(std::ptrdiff_t capacity)
    : storage_(static_cast<std::size_t>(std::max<std::ptrdiff_t>(capacity, 1))) {}

void TarnScrollbackBuffer::append(std::string_view slice) {
    const std::size_t capacity = storage_.size();
    if (slice.size() >= capacity) {
        std::copy(slice.end() - capacity, slice.end(), storage_.begin());
        start_ = 0;
        count_ = capacity;
        return;
    }
    std::size_t end = (start_ + count_) % capacity;
    std::size_t firstPart = std::min(slice.size(), capacity - end);
    std::copy_n(slice.begin(), firstPart, storage_.begin() + end);
    std::copy(slice.begin() + firstPart, slice.end(), storage_.begin());
    std::size_t total = count_ + slice.size();
    if (total > capacity) {
        start_ = (start_ + total - capacity) % capacity;
        count_ = capacity;
    } else {
        count_ = total;
    }
}

std::string TarnScrollbackBuffer::snapshot() const {
    std::string bytes;
    bytes.reserve(count_);
    std::size_t firstPart = std::min(count_, storage_.size() - start_);
    bytes.append(storage_.data() + start_, firstPart);
    bytes.append(storage_.data(), count_ - firstPart);
    return bytes;
}
