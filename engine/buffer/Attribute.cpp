#include "engine/buffer/Attribute.h"

namespace brevlin {

namespace {

// The 16 base colours have short SGR forms; the rest of the palette needs the 256-colour form.
void appendColor(std::string& out, Attribute::Color color, const char* direct, const char* base, const char* bright, const char* indexed)
{
    switch (color.kind()) {
    case Attribute::Color::Kind::trueColor:
        out += direct;
        out += std::to_string(color.red()) + ';' + std::to_string(color.green()) + ';' + std::to_string(color.blue());
        break;
    case Attribute::Color::Kind::ansi256: {
        const int code = color.code();
        if (code < 8)
            out += base + std::to_string(code);
        else if (code < 16)
            out += bright + std::to_string(code - 8);
        else
            out += indexed + std::to_string(code);
        break;
    }
    case Attribute::Color::Kind::defaultColor:
    case Attribute::Color::Kind::defaultInvertedColor:
        break;
    }
}

} // namespace

std::string Attribute::toSgr() const
{
    std::string out = "0";
    if (style.contains(CharacterStyle::bold))
        out += ";1";
    if (style.contains(CharacterStyle::underline))
        out += ";4";
    if (style.contains(CharacterStyle::blink))
        out += ";5";
    if (style.contains(CharacterStyle::inverse))
        out += ";7";
    if (style.contains(CharacterStyle::invisible))
        out += ";8";
    appendColor(out, fg, ";38;2;", ";3", ";9", ";38;5;");
    appendColor(out, bg, ";48;2;", ";4", ";10", ";48;5;");
    out += 'm';
    return out;
}

} // namespace brevlin
