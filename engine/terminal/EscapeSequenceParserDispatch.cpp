#include "engine/terminal/EscapeSequenceParser.h"

#include "engine/terminal/CharSets.h"
#include "engine/terminal/LogFormatting.h"
#include "engine/terminal/Terminal.h"

#include <algorithm>
#include <string>

namespace brevlin {

namespace {

std::int64_t firstOr(const std::vector<std::int64_t>& pars, std::int64_t fallback) { return pars.empty() ? fallback : pars[0]; }

void moveToNextTabStop(Terminal& terminal)
{
    Buffer& b = terminal.buffer();
    const int stop = b.nextTabStop(terminal.marginMode ? TabStopLimit::rightMargin : TabStopLimit::lastColumn);
    if (stop >= 0)
        b.setX(stop);
}

// NEL: back to the left margin in origin-and-margin mode, else column 0.
void nextLineColumn(Terminal& terminal)
{
    Buffer& b = terminal.buffer();
    if (terminal.originMode && terminal.marginMode) {
        if (b.marginLeft >= 0)
            b.setX(b.marginLeft);
    } else {
        b.setX(0);
    }
}

void setTitleModes(Terminal& terminal, const std::vector<std::int64_t>& pars, bool on)
{
    for (std::int64_t mode : pars) {
        switch (mode) {
        case 0: terminal.xtermTitleSetHex = on; break;
        case 1: terminal.xtermTitleQueryHex = on; break;
        case 2: terminal.xtermTitleSetUtf = on; break;
        case 3: terminal.xtermTitleQueryUtf = on; break;
        default: break;
        }
    }
}

std::string decodedTitle(ByteSpan data)
{
    // Invalid UTF-8 gives the empty title.
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t lead = data[i];
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > data.size())
            return {};
        for (std::size_t k = 1; k < length; ++k)
            if ((data[i + k] & 0xC0) != 0x80)
                return {};
        if ((lead == 0xE0 && data[i + 1] < 0xA0) || (lead == 0xED && data[i + 1] > 0x9F) || (lead == 0xF0 && data[i + 1] < 0x90)
            || (lead == 0xF4 && data[i + 1] > 0x8F))
            return {};
        i += length;
    }
    return std::string(data.begin(), data.end());
}

} // namespace

void EscapeSequenceParser::dispatchExecute(std::uint8_t code)
{
    if (terminal == nullptr)
        return;
    Terminal& t = *terminal;
    switch (code) {
    case 0x07:
        if (t.delegate() != nullptr)
            t.delegate()->bell(t);
        break;
    case 0x08: t.cmdBackspace(); break;
    case 0x09: moveToNextTabStop(t); break;
    case 0x0A:
    case 0x0B:
    case 0x0C: t.cmdLineFeedBasic(); break;
    case 0x0D: t.cmdCarriageReturn(); break;
    case 0x0E: t.setgLevel(1); break;
    case 0x0F: t.setgLevel(0); break;
    case 0x84: t.cmdIndex(); break;
    case 0x85:
        nextLineColumn(t);
        t.cmdIndex();
        break;
    case 0x88: t.cmdTabSet(); break;
    default: break;
    }
}

void EscapeSequenceParser::dispatchCsi(std::uint8_t code, const std::vector<std::int64_t>& pars,
    const std::vector<std::uint8_t>& collect)
{
    if (terminal == nullptr) {
        csiHandlerFallback(pars, collect, code);
        return;
    }
    Terminal& t = *terminal;
    Buffer& b = t.buffer();
    const bool noCollect = collect.empty();
    const bool greaterThan = collect.size() == 1 && collect[0] == '>';
    switch (code) {
    case '@': t.cmdInsertChars(pars); break;
    case 'A': t.cmdCursorUp(pars); break;
    case 'B': t.cmdCursorDown(pars); break;
    case 'C': t.cursorForward(firstOr(pars, 1)); break;
    case 'D': t.cursorBackward(firstOr(pars, 1)); break;
    case 'E':
        t.cmdCursorDown(pars);
        if (b.marginLeft >= 0)
            b.setX(b.marginLeft);
        break;
    case 'F':
        t.cmdCursorUp(pars);
        if (b.marginLeft >= 0)
            b.setX(b.marginLeft);
        break;
    case 'G': t.cmdCursorCharAbsolute(pars); break;
    case 'H': t.cmdCursorPosition(pars); break;
    case 'I': {
        std::int64_t n = t.cols < 2 ? 0 : 1;
        if (!pars.empty() && pars[0] >= 2)
            n = std::min<std::int64_t>(pars[0], t.cols - 1);
        for (std::int64_t i = 0; i < n; ++i)
            moveToNextTabStop(t);
        break;
    }
    case 'J': t.cmdEraseInDisplay(pars); break;
    case 'K': t.cmdEraseInLine(pars); break;
    case 'L': t.cmdInsertLines(pars); break;
    case 'M': t.cmdDeleteLines(pars); break;
    case 'P': t.cmdDeleteChars(pars); break;
    case 'S': t.cmdScrollUp(pars); break;
    case 'T':
        if (noCollect)
            t.cmdScrollDown(pars);
        else if (greaterThan)
            setTitleModes(t, pars, false);
        break;
    case 'X': t.cmdEraseChars(pars); break;
    case 'Z': {
        if (b.x() > t.cols)
            break;
        std::int64_t n = b.cols() == 0 ? 0 : 1;
        if (!pars.empty() && pars[0] >= 2)
            n = std::min<std::int64_t>(pars[0], b.cols());
        for (std::int64_t i = 0; i < n; ++i) {
            const int stop = b.previousTabStop();
            if (stop >= 0)
                b.setX(stop);
        }
        break;
    }
    case '`': t.cmdCharPosAbsolute(pars); break;
    case 'a': t.cmdHPositionRelative(pars); break;
    case 'b': t.cmdRepeatPrecedingCharacter(pars); break;
    case 'c': t.cmdSendDeviceAttributes(pars, collect); break;
    case 'd': t.cmdLinePosAbsolute(pars); break;
    case 'e': t.cmdVPositionRelative(pars); break;
    case 'f': t.cmdHVPosition(pars); break;
    case 'g': t.cmdTabClear(pars); break;
    case 'h': t.cmdSetMode(pars, collect); break;
    case 'l': t.cmdResetMode(pars, collect); break;
    case 'm': t.cmdCsiM(pars, collect); break;
    case 'n': t.cmdDeviceStatus(pars, collect); break;
    case 'p': t.csiPHandler(pars, collect); break;
    case 'q': t.cmdSetCursorStyle(pars, collect); break;
    case 'r': t.cmdSetScrollRegion(pars, collect); break;
    case 's':
        if (!noCollect)
            break;
        if (t.marginMode)
            t.cmdSetMargins(pars, collect);
        else
            t.cmdSaveCursor();
        break;
    case 't':
        if (noCollect) {
            t.cmdWindowOptions(pars);
        } else if (greaterThan) {
            setTitleModes(t, pars, true);
        } else {
            t.log("Unhandled csiT " + decimalList(collect));
        }
        break;
    case 'u':
        if (!t.handleKittyKeyboardProtocol(pars, collect) && noCollect)
            t.cmdRestoreCursor();
        break;
    case 'v': t.csiCopyRectangularArea(pars, collect); break;
    case 'x': t.csiX(pars, collect); break;
    case 'y': t.cmdDECRQCRA(pars); break;
    case 'z': t.csiZ(pars, collect); break;
    case '{': t.csiOpenBrace(pars, collect); break;
    case '}': t.csiCloseBrace(pars, collect); break;
    case '~': t.cmdDeleteColumns(pars); break;
    default: csiHandlerFallback(pars, collect, code); break;
    }
}

void EscapeSequenceParser::dispatchEsc(const std::vector<std::uint8_t>& collect, std::uint8_t code)
{
    if (terminal == nullptr) {
        escHandlerFallback(collect, code);
        return;
    }
    Terminal& t = *terminal;
    Buffer& b = t.buffer();
    if (collect.empty()) {
        switch (code) {
        case '6':
            if (b.x() != b.marginLeft)
                t.cursorBackward(1);
            else
                t.columnScroll(Terminal::ColumnDirection::back, b.x());
            return;
        case '7': t.cmdSaveCursor(); return;
        case '8': t.cmdRestoreCursor(); return;
        case '9': t.columnIndex(Terminal::ColumnDirection::forward); return;
        case '=': t.applicationKeypad = true; return;
        case '>': t.applicationKeypad = false; return;
        case 'D': t.cmdIndex(); return;
        case 'E':
            nextLineColumn(t);
            t.cmdIndex();
            return;
        case 'H': t.cmdTabSet(); return;
        case 'M': t.reverseIndex(); return;
        case '\\': return;
        case 'c': t.cmdReset(); return;
        case 'n': t.setgLevel(2); return;
        case 'o':
        case '|': t.setgLevel(3); return;
        case '}': t.setgLevel(2); return;
        case '~': t.setgLevel(1); return;
        default: break;
        }
    } else if (collect.size() == 1) {
        const std::uint8_t intermediate = collect[0];
        switch (intermediate) {
        case '(':
        case ')':
        case '*':
        case '+':
        case '-':
        case '.':
        case '/':
            if (CharSets::all().contains(code)) {
                t.selectCharset(intermediate, code);
                return;
            }
            break;
        case '#':
            switch (code) {
            case '3': t.setLineRenderMode(BufferLine::RenderLineMode::doubledTop); return;
            case '4': t.setLineRenderMode(BufferLine::RenderLineMode::doubledDown); return;
            case '5': t.setLineRenderMode(BufferLine::RenderLineMode::single); return;
            case '6': t.setLineRenderMode(BufferLine::RenderLineMode::doubleWidth); return;
            case '8': t.cmdScreenAlignmentPattern(); return;
            default: break;
            }
            break;
        case '%':
            if (code == 'G' || code == '@') {
                t.setgLevel(0);
                t.setgCharset(0, nullptr);
                return;
            }
            break;
        case ' ':
            if (code == 'F' || code == 'G') {
                t.cc.send8bit = code == 'G';
                return;
            }
            break;
        default: break;
        }
    }
    escHandlerFallback(collect, code);
}

void EscapeSequenceParser::dispatchOsc(std::int64_t code, ByteSpan data)
{
    if (auto handler = oscHandlers.find(code); handler != oscHandlers.end()) {
        handler->second(data);
        return;
    }
    if (terminal == nullptr) {
        oscHandlerFallback(code, data);
        return;
    }
    Terminal& t = *terminal;
    switch (code) {
    case 0:
    case 2: t.setTitle(decodedTitle(data)); break;
    case 1: t.setIconTitle(decodedTitle(data)); break;
    case 4: t.oscChangeOrQueryColorIndex(data); break;
    case 6: t.oscSetCurrentDocument(data); break;
    case 7: t.oscSetCurrentDirectory(data); break;
    case 8: t.oscHyperlink(data); break;
    case 9:
        if (std::optional<ProgressReport> report = t.parseProgressReport(data)) {
            if (t.delegate() != nullptr)
                t.delegate()->progressReport(t, *report);
        } else {
            oscHandlerFallback(9, data);
        }
        break;
    case 10:
    case 11:
    case 12: t.oscSetColors(data, static_cast<int>(code - 10)); break;
    case 52: t.oscClipboard(data); break;
    case 104: t.oscResetColor(data); break;
    case 112:
        if (t.delegate() != nullptr)
            t.delegate()->setCursorColor(t, std::nullopt);
        break;
    case 777: t.oscNotification(data); break;
    case 1337: t.osciTerm2(data); break;
    default: oscHandlerFallback(code, data); break;
    }
}

void EscapeSequenceParser::dispatchApc(std::uint8_t command, ByteSpan content)
{
    if (terminal != nullptr && command == 'G') {
        terminal->handleKittyGraphics(content);
        return;
    }
    apcHandlerFallback(command, content);
}

void EscapeSequenceParser::dispatchDcs(const std::vector<std::uint8_t>& collect, std::uint8_t code,
    const std::vector<std::int64_t>& pars)
{
    activeDcsHandler.reset();
    if (terminal == nullptr || code != 'q')
        return;
    if (collect.empty())
        activeDcsHandler = terminal->makeSixelHandler();
    else if (collect.size() == 1 && collect[0] == '$')
        activeDcsHandler = terminal->makeDecrqssHandler();
    if (activeDcsHandler)
        activeDcsHandler->hook(collect, pars, code);
}

} // namespace brevlin
