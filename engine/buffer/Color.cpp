#include "engine/buffer/Color.h"

#include "engine/buffer/LabColor.h"

#include <algorithm>
#include <cstdio>

namespace brevlin {

const std::array<Color, 16> Color::terminalAppColors {
    Color::fromBytes(0, 0, 0),
    Color::fromBytes(194, 54, 33),
    Color::fromBytes(37, 188, 36),
    Color::fromBytes(173, 173, 39),
    Color::fromBytes(73, 46, 225),
    Color::fromBytes(211, 56, 211),
    Color::fromBytes(51, 187, 200),
    Color::fromBytes(203, 204, 205),
    Color::fromBytes(129, 131, 131),
    Color::fromBytes(252, 57, 31),
    Color::fromBytes(49, 231, 34),
    Color::fromBytes(234, 236, 35),
    Color::fromBytes(88, 51, 255),
    Color::fromBytes(249, 53, 248),
    Color::fromBytes(20, 240, 240),
    Color::fromBytes(233, 235, 235),
};

std::vector<Color> Color::generateXtermPalette(std::span<const Color> initialColors)
{
    static constexpr std::uint8_t levels[6] = {0x00, 0x5F, 0x87, 0xAF, 0xD7, 0xFF};
    std::vector<Color> palette(initialColors.begin(), initialColors.end());
    palette.reserve(palette.size() + 240);
    for (int i = 0; i < 216; ++i)
        palette.push_back(fromBytes(levels[(i / 36) % 6], levels[(i / 6) % 6], levels[i % 6]));
    for (int i = 0; i < 24; ++i) {
        const auto grey = static_cast<std::uint8_t>(8 + 10 * i);
        palette.push_back(fromBytes(grey, grey, grey));
    }
    return palette;
}

std::vector<Color> Color::generateBase16LabPalette(std::span<const Color> initialColors,
    std::optional<Color> backgroundColor, std::optional<Color> foregroundColor)
{
    if (initialColors.size() < 8)
        return generateXtermPalette(initialColors);

    LabColor base[8];
    for (int i = 0; i < 8; ++i)
        base[i] = LabColor::fromColor(initialColors[i]);
    const LabColor background = backgroundColor ? LabColor::fromColor(*backgroundColor) : base[0];
    const LabColor foreground = foregroundColor ? LabColor::fromColor(*foregroundColor) : base[7];

    std::vector<Color> palette(initialColors.begin(), initialColors.end());
    palette.reserve(palette.size() + 240);
    for (int r = 0; r < 6; ++r) {
        const double tr = r / 5.0;
        const LabColor c0 = LabColor::lerp(background, base[1], tr);
        const LabColor c1 = LabColor::lerp(base[2], base[3], tr);
        const LabColor c2 = LabColor::lerp(base[4], base[5], tr);
        const LabColor c3 = LabColor::lerp(base[6], foreground, tr);
        for (int g = 0; g < 6; ++g) {
            const double tg = g / 5.0;
            const LabColor low = LabColor::lerp(c0, c1, tg);
            const LabColor high = LabColor::lerp(c2, c3, tg);
            for (int b = 0; b < 6; ++b)
                palette.push_back(LabColor::lerp(low, high, b / 5.0).toColor());
        }
    }
    for (int i = 1; i <= 24; ++i)
        palette.push_back(LabColor::lerp(background, foreground, i / 25.0).toColor());
    return palette;
}

namespace {

int hexValue(std::uint8_t byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte >= 'a' && byte <= 'f')
        return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'F')
        return byte - 'A' + 10;
    return -1;
}

// Widens a channel read with `scale` hex digits to 16 bits.
std::uint16_t widen(unsigned value, int scale)
{
    switch (scale) {
    case 1:
        return static_cast<std::uint16_t>(value * 0x1010);
    case 2:
        return static_cast<std::uint16_t>(value * 257);
    case 3:
        return static_cast<std::uint16_t>((value << 4) | (value >> 4));
    default:
        return static_cast<std::uint16_t>(value);
    }
}

std::optional<Color> parseHashForm(std::span<const std::uint8_t> digits)
{
    const std::size_t length = digits.size();
    if (length != 3 && length != 6 && length != 9 && length != 12)
        return std::nullopt;
    const int scale = static_cast<int>(length / 3);
    std::uint16_t channels[3];
    for (int channel = 0; channel < 3; ++channel) {
        unsigned value = 0;
        for (int i = 0; i < scale; ++i) {
            const int digit = hexValue(digits[channel * scale + i]);
            if (digit < 0)
                break;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        channels[channel] = widen(value, scale);
    }
    return Color {channels[0], channels[1], channels[2]};
}

std::optional<Color> parseRgbForm(std::span<const std::uint8_t> data)
{
    std::size_t position = 4;
    unsigned values[3] = {};
    int scale = 0;
    for (unsigned& value : values) {
        int digits = 0;
        while (digits < 4 && position < data.size() && hexValue(data[position]) >= 0) {
            value = value * 16 + static_cast<unsigned>(hexValue(data[position]));
            ++digits;
            ++position;
        }
        scale = std::max(scale, digits);
        if (position >= data.size())
            continue;
        if (digits == 4) {
            if (data[position] == '/')
                ++position;
        } else {
            ++position;
            if (position < data.size() && data[position] == '/')
                ++position;
        }
    }
    if (scale == 0)
        return std::nullopt;
    return Color {widen(values[0], scale), widen(values[1], scale), widen(values[2], scale)};
}

} // namespace

std::optional<Color> Color::parseColor(std::span<const std::uint8_t> data)
{
    if (data.empty())
        return std::nullopt;
    if (data[0] == '#')
        return parseHashForm(data.subspan(1));
    static constexpr std::uint8_t prefix[4] = {'r', 'g', 'b', ':'};
    if (data.size() < 4 || !std::equal(prefix, prefix + 4, data.begin()))
        return std::nullopt;
    return parseRgbForm(data);
}

std::string Color::formatAsXcolor() const
{
    char text[32];
    std::snprintf(text, sizeof text, "rgb:%04x/%04x/%04x", red, green, blue);
    return text;
}

} // namespace brevlin
