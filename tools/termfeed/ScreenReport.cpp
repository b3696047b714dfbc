#include "ScreenReport.h"

#include <string>

namespace termfeed {

namespace {

using brevlin::Terminal;

std::string rowText(const Terminal& terminal, int row)
{
    const brevlin::BufferLine* line = terminal.getLine(row);
    if (line == nullptr)
        return {};
    std::string text;
    for (const brevlin::CharData& cell : line->cells()) {
        if (cell.width == 0)
            continue;
        text += cell.code == 0 ? std::string(" ") : terminal.cellText(cell);
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

const char* mouseModeName(brevlin::MouseMode mode)
{
    switch (mode) {
    case brevlin::MouseMode::off: return "off";
    case brevlin::MouseMode::x10: return "x10";
    case brevlin::MouseMode::vt200: return "vt200";
    case brevlin::MouseMode::buttonEventTracking: return "buttonEventTracking";
    case brevlin::MouseMode::anyEvent: return "anyEvent";
    }
    return "?";
}

const char* onOff(bool value) { return value ? "on" : "off"; }

} // namespace

void printScreenReport(const Terminal& terminal, std::ostream& out)
{
    for (int row = 0; row < terminal.rows; ++row)
        out << rowText(terminal, row) << '\n';
    const auto [x, y] = terminal.getCursorLocation();
    out << "cursor: " << x << ',' << y << (terminal.cursorHidden ? " (hidden)" : "") << '\n';
    out << "title: " << terminal.terminalTitle << '\n';
    out << "screen: " << (terminal.isCurrentBufferAlternate() ? "alternate" : "normal")
        << " wraparound: " << onOff(terminal.wraparound) << " origin: " << onOff(terminal.originMode)
        << " insert: " << onOff(terminal.insertMode) << " application-cursor: " << onOff(terminal.applicationCursor)
        << " application-keypad: " << onOff(terminal.applicationKeypad)
        << " bracketed-paste: " << onOff(terminal.bracketedPasteMode) << " mouse: " << mouseModeName(terminal.mouseMode())
        << " synchronized-output: " << onOff(terminal.synchronizedOutputActive()) << '\n';
}

} // namespace termfeed
