#pragma once

#include "engine/buffer/LineFragment.h"

#include <optional>
#include <string>
#include <vector>

namespace brevlin {

// A logical line of text gathered from one or more buffer rows, fragment by fragment.
class Line {
public:
    std::vector<LineFragment> fragments;
    int length = 0;

    void add(LineFragment fragment);

    // Buffer row and column where the line starts; absent for a line without fragments.
    std::optional<int> start() const;
    std::optional<int> startLocation() const;
    std::string toString() const;
    // The fragment that holds the character at `position` (an offset into the line's text); the
    // end of the line belongs to the last fragment. Absent for an empty line or a negative offset.
    std::optional<int> getFragmentIndex(int position) const;
    const LineFragment& operator[](int index) const { return fragments.at(static_cast<std::size_t>(index)); }

    std::string debugDescription() const;
};

} // namespace brevlin
