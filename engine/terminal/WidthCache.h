#pragma once

#include <array>
#include <cstdint>

namespace brevlin {

// Remembers the column widths of recently printed scalars: text repeats a small set of
// characters, and the width lookup is a search through several range tables.
class WidthCache {
public:
    int columnWidth(char32_t scalar);

private:
    struct Entry {
        char32_t scalar = 0xFFFFFFFF;
        std::int8_t width = 0;
    };
    static constexpr std::size_t size = 1024;
    std::array<Entry, size> entries_ {};
};

} // namespace brevlin
