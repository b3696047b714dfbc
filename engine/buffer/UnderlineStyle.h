#pragma once

#include <cstdint>
#include <optional>

namespace brevlin {

// `double` is a keyword, so the double underline is spelled `doubled`.
enum class UnderlineStyle : std::uint8_t { none = 0, single = 1, doubled = 2, curly = 3, dotted = 4, dashed = 5 };

constexpr std::optional<UnderlineStyle> underlineStyleFromRawValue(std::uint8_t rawValue)
{
    if (rawValue > static_cast<std::uint8_t>(UnderlineStyle::dashed))
        return std::nullopt;
    return static_cast<UnderlineStyle>(rawValue);
}

} // namespace brevlin
