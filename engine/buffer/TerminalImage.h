#pragma once

#include <cstdint>

namespace brevlin {

// An image anchored on a row by the graphics protocols; the buffer only stores, counts and
// drops these and never looks inside.
class TerminalImage {
public:
    virtual ~TerminalImage() = default;
    virtual std::int64_t pixelWidth() const = 0;
    virtual std::int64_t pixelHeight() const = 0;
    virtual std::int64_t col() const = 0;
    virtual void setCol(std::int64_t col) = 0;
};

} // namespace brevlin
