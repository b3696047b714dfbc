#pragma once

#include <optional>
#include <string>

namespace brevlin {

// The piece of a logical line that one buffer row contributes.
struct LineFragment {
    std::optional<std::string> text;
    int line = 0;     // buffer row the fragment comes from
    int location = 0; // first column of the fragment in that row
    int length = 0;
};

} // namespace brevlin
