#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

// A System V shared memory segment attached to this process and to the X server
// (MIT-SHM), replaced only when a larger one is needed.
class TarnXShmSegment {
public:
  explicit TarnXShmSegment(Display* display) : display_(display) {}
  ~TarnXShmSegment() { release(); }
  TarnXShmSegment(const TarnXShmSegment&) = delete;
  TarnXShmSegment& operator=(const TarnXShmSegment&) = delete;

  // Makes sure the segment holds at least `bytes`; true when it was already large
  // enough or a new one is attached. A new segment has a new id.
  bool reserve(size_t bytes, std::string& error);
  void release();

  uint8_t* memory() const { return memory_; }
  uint32_t id() const { return segment_; }  // the server's name for it

private:
  Display* display_;
  uint32_t segment_ = 0;
  uint8_t* memory_ = nullptr;
  size_t capacity_ = 0;
};
