#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brevlin {

// Receives the payload of one DCS string: hook at the final byte, put per payload slice,
// unhook at the terminator.
class DcsHandler {
public:
    virtual ~DcsHandler() = default;
    virtual void hook(const std::vector<std::uint8_t>& collect, const std::vector<std::int64_t>& parameters, std::uint8_t flag) = 0;
    virtual void put(std::span<const std::uint8_t> data) = 0;
    virtual void unhook() = 0;
};

} // namespace brevlin
