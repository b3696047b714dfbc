#pragma once

#include "engine/buffer/CharacterStyle.h"
#include "engine/buffer/UnderlineStyle.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brevlin {

// The rendition of a cell: colours, style bits, underline style and underline colour.
// Packed into 16 bytes so that cells stay small and trivially copyable.
class Attribute {
public:
    // A colour reference as the program gave it: a palette index, a direct colour or one of the
    // front end's defaults. Packed in one word: the kind in the top byte, the payload below.
    class Color {
    public:
        enum class Kind : std::uint8_t { ansi256 = 0, trueColor = 1, defaultColor = 2, defaultInvertedColor = 3 };

        constexpr Color() = default;
        static constexpr Color ansi256(std::uint8_t code) { return Color(Kind::ansi256, code); }
        static constexpr Color trueColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        {
            return Color(Kind::trueColor, (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue);
        }
        static constexpr Color defaultColor() { return Color(Kind::defaultColor, 0); }
        static constexpr Color defaultInvertedColor() { return Color(Kind::defaultInvertedColor, 0); }

        constexpr Kind kind() const { return static_cast<Kind>(bits_ >> 24); }
        constexpr std::uint8_t code() const { return static_cast<std::uint8_t>(bits_); }
        constexpr std::uint8_t red() const { return static_cast<std::uint8_t>(bits_ >> 16); }
        constexpr std::uint8_t green() const { return static_cast<std::uint8_t>(bits_ >> 8); }
        constexpr std::uint8_t blue() const { return static_cast<std::uint8_t>(bits_); }
        constexpr std::uint32_t packed() const { return bits_; }

        friend constexpr bool operator==(Color, Color) = default;

    private:
        friend class Attribute;
        static constexpr std::uint32_t absentBits = 0xFF000000u;
        constexpr Color(Kind kind, std::uint32_t payload) : bits_((std::uint32_t(kind) << 24) | payload) { }
        explicit constexpr Color(std::uint32_t bits) : bits_(bits) { }

        std::uint32_t bits_ = std::uint32_t(Kind::defaultColor) << 24;
    };

    Color fg;
    Color bg;
    CharacterStyle style;
    UnderlineStyle underlineStyle = UnderlineStyle::none;

    constexpr Attribute() = default;
    constexpr Attribute(Color fg, Color bg, CharacterStyle style = CharacterStyle::none,
        UnderlineStyle underlineStyle = UnderlineStyle::none, std::optional<Color> underlineColor = std::nullopt)
        : fg(fg)
        , bg(bg)
        , style(style)
        , underlineStyle(underlineStyle)
        , underlineColor_(underlineColor ? *underlineColor : Color(Color::absentBits))
    {
    }

    // Absent means the underline takes the text colour.
    constexpr std::optional<Color> underlineColor() const
    {
        if (underlineColor_.bits_ == Color::absentBits)
            return std::nullopt;
        return underlineColor_;
    }
    constexpr void setUnderlineColor(std::optional<Color> color) { underlineColor_ = color ? *color : Color(Color::absentBits); }

    // Default foreground on the inverted default background: the starting rendition of a buffer.
    static const Attribute empty;

    // Parameter text of an SGR sequence that reproduces this attribute (no introducer).
    std::string toSgr() const;

    friend constexpr bool operator==(const Attribute&, const Attribute&) = default;

private:
    Color underlineColor_ {Color::absentBits};
};

inline constexpr Attribute Attribute::empty {Attribute::Color::defaultColor(), Attribute::Color::defaultInvertedColor()};

} // namespace brevlin

template <>
struct std::hash<brevlin::Attribute::Color> {
    std::size_t operator()(brevlin::Attribute::Color color) const noexcept { return std::hash<std::uint32_t>()(color.packed()); }
};

template <>
struct std::hash<brevlin::Attribute> {
    std::size_t operator()(const brevlin::Attribute& attribute) const noexcept
    {
        const auto underline = attribute.underlineColor();
        std::uint64_t colours = (std::uint64_t(attribute.fg.packed()) << 32) | attribute.bg.packed();
        std::uint64_t rest = (std::uint64_t(underline ? underline->packed() : 0xFFFFFFFFu) << 16)
            | (std::uint64_t(attribute.style.rawValue) << 8) | std::uint64_t(attribute.underlineStyle);
        return std::hash<std::uint64_t>()(colours ^ (rest * 0x9E3779B97F4A7C15ull));
    }
};
