#include "engine/terminal/MouseReport.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace brevlin {

namespace {

constexpr int x10Limit = 255;
// Two-byte UTF-8 ends at U+07FF.
constexpr int utf8Limit = 0x7FF;

void appendText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

void appendNumber(Bytes& out, int value) { appendText(out, std::to_string(value)); }

// prefix, three numbers separated by ";", then the final byte.
void appendNumbers(Bytes& out, std::string_view prefix, int first, int second, int third, char final)
{
    appendText(out, prefix);
    appendNumber(out, first);
    out.push_back(';');
    appendNumber(out, second);
    out.push_back(';');
    appendNumber(out, third);
    out.push_back(static_cast<std::uint8_t>(final));
}

void appendUtf8(Bytes& out, int value)
{
    if (value < 0x80) {
        out.push_back(static_cast<std::uint8_t>(value));
        return;
    }
    out.push_back(static_cast<std::uint8_t>(0xC0 | (value >> 6)));
    out.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x3F)));
}

} // namespace

int encodeMouseButton(MouseMode mode, int button, MouseButtonAction action, MouseModifiers modifiers)
{
    int flags = 0;
    if (action == MouseButtonAction::release) {
        flags = 3;
    } else {
        switch (button) {
        case 1: flags = 1; break;
        case 2: flags = 2; break;
        case 4: flags = 64; break;
        case 5: flags = 65; break;
        default: flags = 0; break;
        }
    }
    if (mouseModeSendsModifiers(mode)) {
        flags |= modifiers.shift ? 4 : 0;
        flags |= modifiers.meta ? 8 : 0;
        flags |= modifiers.control ? 16 : 0;
    }
    return flags;
}

std::optional<Bytes> encodeMouseReport(MouseProtocolEncoding encoding, const CC& cc, int buttonFlags, int x, int y,
    int pixelX, int pixelY)
{
    x = std::max(x, 0);
    y = std::max(y, 0);
    Bytes out = cc.csi();
    const bool isRelease = (buttonFlags & 3) == 3;
    const int sgrButton = isRelease ? buttonFlags & ~3 : buttonFlags;
    const char sgrFinal = isRelease ? 'm' : 'M';
    switch (encoding) {
    case MouseProtocolEncoding::x10:
        if (buttonFlags + 32 > x10Limit || x + 33 > x10Limit || y + 33 > x10Limit)
            return std::nullopt;
        out.push_back('M');
        out.push_back(static_cast<std::uint8_t>(buttonFlags + 32));
        out.push_back(static_cast<std::uint8_t>(x + 33));
        out.push_back(static_cast<std::uint8_t>(y + 33));
        break;
    case MouseProtocolEncoding::utf8:
        if (buttonFlags + 32 > utf8Limit || x + 33 > utf8Limit || y + 33 > utf8Limit)
            return std::nullopt;
        out.push_back('M');
        appendUtf8(out, buttonFlags + 32);
        appendUtf8(out, x + 33);
        appendUtf8(out, y + 33);
        break;
    case MouseProtocolEncoding::sgr:
        appendNumbers(out, "<", sgrButton, x + 1, y + 1, sgrFinal);
        break;
    case MouseProtocolEncoding::urxvt:
        appendNumbers(out, "", buttonFlags + 32, x + 1, y + 1, 'M');
        break;
    case MouseProtocolEncoding::sgrPixel:
        appendNumbers(out, "<", sgrButton, pixelX, pixelY, sgrFinal);
        break;
    }
    return out;
}

} // namespace brevlin
