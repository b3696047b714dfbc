#pragma once

#include <optional>
#include <string_view>

namespace brevlin {

enum class CursorStyle { blinkBlock, steadyBlock, blinkUnderline, steadyUnderline, blinkBar, steadyBar };

// The style named exactly like its case ("steadyBar"), or none.
std::optional<CursorStyle> cursorStyleFromString(std::string_view name);

constexpr bool cursorStyleBlinks(CursorStyle style)
{
    return style == CursorStyle::blinkBlock || style == CursorStyle::blinkUnderline || style == CursorStyle::blinkBar;
}

} // namespace brevlin
