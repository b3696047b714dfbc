#include "engine/terminal/Terminal.h"

#include <algorithm>

namespace brevlin {

namespace {

using AttributeColor = Attribute::Color;

// Reads the colour after 38, 48 or 58 (5;n or 2;r;g;b, with ";" or ":" separators); returns
// how many parameters it used after the selector.
std::size_t readExtendedColor(const Terminal::Params& pars, std::size_t at, std::optional<AttributeColor>& color)
{
    if (at + 1 >= pars.size())
        return pars.size() - at - 1;
    auto byte = [](std::int64_t value) { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255)); };
    if (pars[at + 1] == 5 && at + 2 < pars.size()) {
        color = AttributeColor::ansi256(byte(pars[at + 2]));
        return 2;
    }
    if (pars[at + 1] == 2 && at + 4 < pars.size()) {
        color = AttributeColor::trueColor(byte(pars[at + 2]), byte(pars[at + 3]), byte(pars[at + 4]));
        return 4;
    }
    return 1;
}

} // namespace

void Terminal::cmdCsiM(const Params& pars, const Collect& collect)
{
    if (!collect.empty())
        return;
    Attribute& a = curAttr;
    for (std::size_t i = 0; i < pars.size(); ++i) {
        const std::int64_t p = pars[i];
        if (p >= 30 && p <= 37) {
            a.fg = AttributeColor::ansi256(static_cast<std::uint8_t>(p - 30));
        } else if (p >= 40 && p <= 47) {
            a.bg = AttributeColor::ansi256(static_cast<std::uint8_t>(p - 40));
        } else if (p >= 90 && p <= 97) {
            a.fg = AttributeColor::ansi256(static_cast<std::uint8_t>(p - 90 + 8));
        } else if (p >= 100 && p <= 107) {
            a.bg = AttributeColor::ansi256(static_cast<std::uint8_t>(p - 100 + 8));
        } else {
            switch (p) {
            case 0: a = Attribute(); break;
            case 1: a.style.insert(CharacterStyle::bold); break;
            case 2: a.style.insert(CharacterStyle::dim); break;
            case 3: a.style.insert(CharacterStyle::italic); break;
            case 4:
                a.style.insert(CharacterStyle::underline);
                a.underlineStyle = UnderlineStyle::single;
                break;
            case 5: a.style.insert(CharacterStyle::blink); break;
            case 7: a.style.insert(CharacterStyle::inverse); break;
            case 8: a.style.insert(CharacterStyle::invisible); break;
            case 9: a.style.insert(CharacterStyle::crossedOut); break;
            case 21:
                a.style.insert(CharacterStyle::underline);
                a.underlineStyle = UnderlineStyle::doubled;
                break;
            case 22:
                a.style.remove(CharacterStyle::bold);
                a.style.remove(CharacterStyle::dim);
                break;
            case 23: a.style.remove(CharacterStyle::italic); break;
            case 24:
                a.style.remove(CharacterStyle::underline);
                a.underlineStyle = UnderlineStyle::none;
                break;
            case 25: a.style.remove(CharacterStyle::blink); break;
            case 27: a.style.remove(CharacterStyle::inverse); break;
            case 28: a.style.remove(CharacterStyle::invisible); break;
            case 29: a.style.remove(CharacterStyle::crossedOut); break;
            case 39: a.fg = AttributeColor::defaultColor(); break;
            case 49: a.bg = AttributeColor::defaultColor(); break;
            case 59: a.setUnderlineColor(std::nullopt); break;
            case 38:
            case 48:
            case 58: {
                std::optional<AttributeColor> color;
                const std::size_t used = readExtendedColor(pars, i, color);
                if (color) {
                    if (p == 38)
                        a.fg = *color;
                    else if (p == 48)
                        a.bg = *color;
                    else
                        a.setUnderlineColor(color);
                }
                i += used;
                break;
            }
            default: break;
            }
        }
    }
}

} // namespace brevlin
