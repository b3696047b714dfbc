#include "engine/terminal/CursorStyle.h"

#include <array>
#include <utility>

namespace brevlin {

std::optional<CursorStyle> cursorStyleFromString(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, CursorStyle>, 6> names {{
        {"blinkBlock", CursorStyle::blinkBlock},
        {"steadyBlock", CursorStyle::steadyBlock},
        {"blinkUnderline", CursorStyle::blinkUnderline},
        {"steadyUnderline", CursorStyle::steadyUnderline},
        {"blinkBar", CursorStyle::blinkBar},
        {"steadyBar", CursorStyle::steadyBar},
    }};
    for (const auto& [text, style] : names)
        if (text == name)
            return style;
    return std::nullopt;
}

} // namespace brevlin
