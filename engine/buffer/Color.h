#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brevlin {

// How palette entries 16 to 255 are derived from the 16 base colours.
enum class Ansi256PaletteStrategy { xterm, base16Lab };

// A colour with 16-bit channels. An 8-bit channel v widens to v * 257 (0xAB becomes 0xABAB).
struct Color {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;

    static const Color defaultForeground;
    static const Color defaultBackground;
    // The 16 default base colours.
    static const std::array<Color, 16> terminalAppColors;

    static constexpr Color fromBytes(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        return {std::uint16_t(red * 257), std::uint16_t(green * 257), std::uint16_t(blue * 257)};
    }

    // The given colours followed by the 216 cube colours and 24 greys of xterm.
    static std::vector<Color> generateXtermPalette(std::span<const Color> initialColors);
    // The given colours followed by a cube and a grey ramp interpolated in CIE L*a*b* between
    // the background, base colours 1 to 6 and the foreground; needs at least 8 base colours.
    static std::vector<Color> generateBase16LabPalette(std::span<const Color> initialColors,
        std::optional<Color> backgroundColor = std::nullopt, std::optional<Color> foregroundColor = std::nullopt);

    // Parses an X11 colour specification: "#" with 3, 6, 9 or 12 hex digits, or "rgb:r/g/b".
    static std::optional<Color> parseColor(std::span<const std::uint8_t> data);
    // "rgb:rrrr/gggg/bbbb" in lower-case hex.
    std::string formatAsXcolor() const;

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color Color::defaultForeground {35389, 35389, 35389};
inline constexpr Color Color::defaultBackground {0, 0, 0};

} // namespace brevlin
