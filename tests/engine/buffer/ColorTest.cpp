#include "engine/buffer/Color.h"
#include "engine/buffer/LabColor.h"

#include <gtest/gtest.h>

#include <string_view>

namespace brevlin {
namespace {

std::optional<Color> parse(std::string_view text)
{
    return Color::parseColor({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(ColorTest, ParsesXColourSpecifications)
{
    const struct {
        const char* text;
        std::optional<Color> expected;
    } cases[] = {
        {"#fa0", Color {0xF0F0, 0xA0A0, 0x0000}},
        {"#ff8000", Color {0xFFFF, 0x8080, 0x0000}},
        {"#abcabcabc", Color {0xABEB, 0xABEB, 0xABEB}},
        {"#123456789abc", Color {0x1234, 0x5678, 0x9ABC}},
        {"#1z2345", Color {0x0101, 0x2323, 0x4545}},
        {"#zz2345", Color {0x0000, 0x2323, 0x4545}},
        {"#12345", std::nullopt},
        {"#", std::nullopt},
        {"rgb:f/ff/fff", Color {0x00F0, 0x0FFF, 0xFFFF}},
        {"rgb:ffff/0000/8080", Color {0xFFFF, 0x0000, 0x8080}},
        {"rgb:ff:00:80", Color {0xFFFF, 0x0000, 0x8080}},
        {"rgb:FF/a/0", Color {0xFFFF, 0x0A0A, 0x0000}},
        {"rgb:12345/6/7", Color {0x1234, 0x0005, 0x0006}},
        {"rgb:ff", Color {0xFFFF, 0x0000, 0x0000}},
        {"rgb:", std::nullopt},
        {"rgb:/x/", std::nullopt},
        {"RGB:1/2/3", std::nullopt},
        {"red", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(parse(test.text), test.expected) << test.text;
}

TEST(ColorTest, FormatsAsXColour)
{
    EXPECT_EQ(Color::defaultForeground.formatAsXcolor(), "rgb:8a3d/8a3d/8a3d");
    EXPECT_EQ((Color {65535, 65535, 65535}).formatAsXcolor(), "rgb:ffff/ffff/ffff");
    EXPECT_EQ(parse(Color::terminalAppColors[9].formatAsXcolor()), Color::terminalAppColors[9]);
}

TEST(ColorTest, XtermPaletteExtendsTheBaseColours)
{
    const auto palette = Color::generateXtermPalette(Color::terminalAppColors);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[1], Color::fromBytes(194, 54, 33));
    const struct {
        int index;
        Color expected;
    } entries[] = {
        {16, {0, 0, 0}},
        {17, Color::fromBytes(0, 0, 0x5F)},
        {52, Color::fromBytes(0x5F, 0, 0)},
        {231, {65535, 65535, 65535}},
        {232, {2056, 2056, 2056}},
        {255, {61166, 61166, 61166}},
    };
    for (const auto& entry : entries)
        EXPECT_EQ(palette[static_cast<std::size_t>(entry.index)], entry.expected) << entry.index;
}

TEST(ColorTest, Base16LabPaletteInterpolatesBetweenItsCorners)
{
    const std::span<const Color> seven(Color::terminalAppColors.data(), 7);
    EXPECT_EQ(Color::generateBase16LabPalette(seven), Color::generateXtermPalette(seven));

    const Color background {0, 0, 0};
    const Color foreground {65535, 65535, 65535};
    const auto palette = Color::generateBase16LabPalette(Color::terminalAppColors, background, foreground);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[16], background);
    EXPECT_EQ(palette[231], foreground);
    // Pure corners come back as the base colours they interpolate (to 8-bit precision).
    const auto near = [](const Color& a, const Color& b) {
        return std::abs(a.red - b.red) <= 257 && std::abs(a.green - b.green) <= 257 && std::abs(a.blue - b.blue) <= 257;
    };
    EXPECT_PRED2(near, palette[16 + 36 * 5], Color::terminalAppColors[1]);
    EXPECT_PRED2(near, palette[16 + 6 * 5], Color::terminalAppColors[2]);
    EXPECT_PRED2(near, palette[16 + 5], Color::terminalAppColors[4]);
    // The grey ramp excludes both ends and grows lighter.
    EXPECT_NE(palette[232], background);
    EXPECT_NE(palette[255], foreground);
    for (int i = 233; i < 256; ++i)
        EXPECT_GT(palette[static_cast<std::size_t>(i)].red, palette[static_cast<std::size_t>(i - 1)].red) << i;
}

TEST(ColorTest, LabRoundTripKeepsBlackAndWhite)
{
    EXPECT_EQ(LabColor::fromColor({0, 0, 0}).toColor(), (Color {0, 0, 0}));
    EXPECT_EQ(LabColor::fromColor({65535, 65535, 65535}).toColor(), (Color {65535, 65535, 65535}));
    for (const Color& color : Color::terminalAppColors)
        EXPECT_EQ(LabColor::fromColor(color).toColor(), color);
}

} // namespace
} // namespace brevlin
