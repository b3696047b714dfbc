#pragma once

#include <compare>
#include <string>

namespace brevlin {

// A grid coordinate; whether `row` counts screen rows or buffer rows depends on the operation.
struct Position {
    enum class CompareResult { before, after, equal };

    int col = 0;
    int row = 0;

    static constexpr CompareResult compare(const Position& a, const Position& b)
    {
        if (a.row < b.row || (a.row == b.row && a.col < b.col))
            return CompareResult::before;
        if (a.row == b.row && a.col == b.col)
            return CompareResult::equal;
        return CompareResult::after;
    }

    std::string debugDescription() const { return "col=" + std::to_string(col) + " row=" + std::to_string(row); }

    friend constexpr bool operator==(const Position&, const Position&) = default;
    // Ordered by row, then column.
    friend constexpr std::strong_ordering operator<=>(const Position& a, const Position& b)
    {
        if (auto byRow = a.row <=> b.row; byRow != 0)
            return byRow;
        return a.col <=> b.col;
    }
};

} // namespace brevlin
