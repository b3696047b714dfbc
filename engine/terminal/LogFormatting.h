#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brevlin {

// "[1, 2, 3]": how diagnostic lines show parameter and intermediate lists.
template <typename Number>
std::string decimalList(const std::vector<Number>& values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += std::to_string(static_cast<long long>(values[i]));
    }
    out += ']';
    return out;
}

} // namespace brevlin
