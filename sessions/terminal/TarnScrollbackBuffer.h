#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The newest `capacity` bytes of a session's output, kept in a ring so trimming costs nothing.
// The cut is a plain byte count: it may fall inside a character or an escape sequence.
class TarnScrollbackBuffer {
public:
    explicit TarnScrollbackBuffer(std::ptrdiff_t capacity);

    void append(std::string_view slice);
    std::size_t count() const { return count_; }
    std::size_t capacity() const { return storage_.size(); }
    // The retained bytes, oldest first.
    std::string snapshot() const;

private:
    std::vector<char> storage_;
    std::size_t start_ = 0; // index of the oldest byte
    std::size_t count_ = 0;
};
