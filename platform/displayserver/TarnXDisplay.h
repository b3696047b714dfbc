#pragma once
#include <string>

typedef struct _XDisplay Display;

// One owned connection to an X server; closed when the object goes.
class TarnXDisplay {
public:
  // A connection that is not open.
  TarnXDisplay() = default;
  // Opens the display named by `name`, or DISPLAY when `name` is empty.
  explicit TarnXDisplay(const std::string& name);
  ~TarnXDisplay();
  TarnXDisplay(TarnXDisplay&& other) noexcept;
  TarnXDisplay& operator=(TarnXDisplay&& other) noexcept;
  TarnXDisplay(const TarnXDisplay&) = delete;
  TarnXDisplay& operator=(const TarnXDisplay&) = delete;

  bool isOpen() const { return display_ != nullptr; }
  Display* get() const { return display_; }

private:
  Display* display_ = nullptr;
};
