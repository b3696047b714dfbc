#pragma once
#include <unistd.h>

#include <utility>

// Owns one open file descriptor and closes it when it goes.
class TarnFileDescriptor {
public:
  TarnFileDescriptor() = default;
  explicit TarnFileDescriptor(int descriptor) : descriptor_(descriptor) {}
  ~TarnFileDescriptor() {
    if (descriptor_ >= 0) {
      ::close(descriptor_);
    }
  }
  TarnFileDescriptor(TarnFileDescriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  TarnFileDescriptor& operator=(TarnFileDescriptor&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  TarnFileDescriptor(const TarnFileDescriptor&) = delete;
  TarnFileDescriptor& operator=(const TarnFileDescriptor&) = delete;

  bool isOpen() const { return descriptor_ >= 0; }
  int get() const { return descriptor_; }
  // Hands the descriptor to a new owner, such as fdopendir.
  int release() { return std::exchange(descriptor_, -1); }

private:
  int descriptor_ = -1;
};
