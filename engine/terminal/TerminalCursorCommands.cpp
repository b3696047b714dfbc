#include "engine/terminal/Terminal.h"

#include "engine/terminal/CharSets.h"
#include "engine/terminal/LogFormatting.h"

#include <algorithm>

namespace brevlin {

namespace {

// Pn of a motion: missing or below 1 means 1; capped so cursor arithmetic cannot overflow.
int countParameter(const Terminal::Params& pars, int cap)
{
    const std::int64_t value = pars.empty() ? 1 : pars[0];
    return static_cast<int>(std::clamp<std::int64_t>(value, 1, cap));
}

int parameterAt(const Terminal::Params& pars, std::size_t index, int cap)
{
    const std::int64_t value = index < pars.size() ? pars[index] : 1;
    return static_cast<int>(std::clamp<std::int64_t>(value, 1, cap));
}

} // namespace

void Terminal::cmdCursorUp(const Params& pars)
{
    Buffer& b = *buffer_;
    const int n = countParameter(pars, rows);
    const int floor = b.y() >= b.scrollTop() ? b.scrollTop() : 0;
    b.setY(std::max(b.y() - n, floor));
}

void Terminal::cmdCursorDown(const Params& pars)
{
    Buffer& b = *buffer_;
    const int n = countParameter(pars, rows);
    const int ceiling = b.y() <= b.scrollBottom() ? b.scrollBottom() : rows - 1;
    b.setY(std::min(b.y() + n, ceiling));
    if (b.x() >= cols)
        b.setX(cols - 1);
}

void Terminal::cmdCursorCharAbsolute(const Params& pars)
{
    Buffer& b = *buffer_;
    const int column = std::min(cols - 1, countParameter(pars, cols) - 1);
    b.setX(column + (originMode && marginMode ? b.marginLeft : 0));
}

void Terminal::cmdCursorPosition(const Params& pars)
{
    setCursor(parameterAt(pars, 1, cols) - 1, parameterAt(pars, 0, rows) - 1);
}

void Terminal::cmdHVPosition(const Params& pars)
{
    Buffer& b = *buffer_;
    int row = parameterAt(pars, 0, rows) - 1 + (originMode ? b.scrollTop() : 0);
    int column = parameterAt(pars, 1, cols) - 1 + (originMode && marginMode ? b.marginLeft : 0);
    b.setY(std::min(row, rows - 1));
    b.setX(std::min(column, cols - 1));
}

void Terminal::cmdCharPosAbsolute(const Params& pars) { buffer_->setX(std::min(countParameter(pars, cols + 1) - 1, cols - 1)); }

void Terminal::cmdHPositionRelative(const Params& pars)
{
    buffer_->setX(std::min(buffer_->x() + countParameter(pars, cols), cols - 1));
}

void Terminal::cmdLinePosAbsolute(const Params& pars) { buffer_->setY(std::min(countParameter(pars, rows + 1) - 1, rows - 1)); }

void Terminal::cmdVPositionRelative(const Params& pars)
{
    Buffer& b = *buffer_;
    b.setY(std::min(b.y() + countParameter(pars, rows), rows - 1));
    if (b.x() >= cols)
        b.setX(cols - 1);
}

void Terminal::cmdTabSet()
{
    Buffer& b = *buffer_;
    if (b.x() >= 0 && b.x() < static_cast<int>(b.tabStops.size()))
        b.tabStops[static_cast<std::size_t>(b.x())] = true;
}

void Terminal::cmdTabClear(const Params& pars)
{
    Buffer& b = *buffer_;
    const std::int64_t mode = pars.empty() ? 0 : pars[0];
    if (mode == 0) {
        if (b.x() >= 0 && b.x() < static_cast<int>(b.tabStops.size()))
            b.tabStops[static_cast<std::size_t>(b.x())] = false;
    } else if (mode == 3) {
        std::fill(b.tabStops.begin(), b.tabStops.end(), false);
    }
}

void Terminal::cmdSaveCursor()
{
    Buffer& b = *buffer_;
    b.savedX = b.x();
    b.savedY = b.y();
    b.savedAttr = curAttr;
    b.savedCharset = charset;
    b.savedOriginMode = originMode;
    b.savedMarginMode = marginMode;
    b.savedWraparound = wraparound;
    b.savedReverseWraparound = reverseWraparound;
}

void Terminal::cmdRestoreCursor()
{
    Buffer& b = *buffer_;
    b.setX(std::min(cols - 1, std::max(b.savedX, 0)));
    b.setY(std::min(rows - 1, std::max(b.savedY, 0)));
    curAttr = b.savedAttr;
    charset = b.savedCharset;
    originMode = b.savedOriginMode;
    marginMode = b.savedMarginMode;
    wraparound = b.savedWraparound;
    reverseWraparound = b.savedReverseWraparound;
    for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()}) {
        each->marginMode = marginMode;
        each->wraparound = wraparound;
    }
}

void Terminal::cmdSetCursorStyle(const Params& pars, const Collect& collect)
{
    if (collect.size() != 1 || collect[0] != ' ')
        return;
    static constexpr CursorStyle styles[] = {CursorStyle::blinkBlock, CursorStyle::blinkBlock, CursorStyle::steadyBlock,
        CursorStyle::blinkUnderline, CursorStyle::steadyUnderline, CursorStyle::blinkBar, CursorStyle::steadyBar};
    const std::int64_t value = pars.empty() ? 0 : pars[0];
    if (value >= 0 && value <= 6)
        setCursorStyle(styles[value]);
}

void Terminal::cmdSetScrollRegion(const Params& pars, const Collect& collect)
{
    if (!collect.empty())
        return;
    Buffer& b = *buffer_;
    const int top = pars.empty() || pars[0] < 1 ? 1 : static_cast<int>(std::min<std::int64_t>(pars[0], rows));
    const int bottom = pars.size() < 2 || pars[1] < 1 || pars[1] > rows ? rows : static_cast<int>(pars[1]);
    if (top >= bottom)
        return;
    b.setScrollTop(top - 1);
    b.setScrollBottom(bottom - 1);
    setCursor(0, 0);
}

void Terminal::cmdSetMargins(const Params& pars, const Collect& collect)
{
    if (!collect.empty())
        return;
    Buffer& b = *buffer_;
    const int left = pars.empty() || pars[0] < 1 ? 1 : static_cast<int>(std::min<std::int64_t>(pars[0], cols));
    const int right = pars.size() < 2 || pars[1] < 1 || pars[1] > cols ? cols : static_cast<int>(pars[1]);
    if (left >= right)
        return;
    b.marginLeft = left - 1;
    b.marginRight = right - 1;
    setCursor(0, 0);
}

void Terminal::selectCharset(std::uint8_t intermediate, std::uint8_t designator)
{
    const auto& sets = CharSets::all();
    auto found = sets.find(designator);
    if (found == sets.end())
        return;
    std::uint8_t slot = 0;
    switch (intermediate) {
    case '(': slot = 0; break;
    case ')':
    case '-': slot = 1; break;
    case '*':
    case '.': slot = 2; break;
    case '+':
    case '/': slot = 3; break;
    default: return;
    }
    setgCharset(slot, &found->second);
}

void Terminal::setLineRenderMode(BufferLine::RenderLineMode mode)
{
    Buffer& b = *buffer_;
    b.lines[b.yBase + b.y()].renderMode = mode;
    updateRange(b.y());
}

void Terminal::cmdScreenAlignmentPattern()
{
    Buffer& b = *buffer_;
    b.setScrollTop(0);
    b.setScrollBottom(rows - 1);
    b.marginLeft = 0;
    b.marginRight = cols - 1;
    CharData letterE = makeCharData(eraseAttribute(), 'E', 1);
    for (int row = 0; row < rows; ++row) {
        BufferLine& line = b.lines[b.yBase + row];
        line.fill(letterE);
        line.isWrapped = false;
    }
    setCursor(0, 0);
    updateFullScreen();
}

void Terminal::cmdSoftReset()
{
    cursorHidden = false;
    originMode = false;
    insertMode = false;
    wraparound = true;
    reverseWraparound = false;
    for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()})
        each->wraparound = true;
    applicationKeypad = false;
    applicationCursor = false;
    buffer_->setScrollTop(0);
    buffer_->setScrollBottom(rows - 1);
    curAttr = Attribute();
    buffer_->softReset();
    charset = nullptr;
    setgLevel(0);
    conformance = TerminalConformance::vt500;
    hyperLinkTracking.reset();
    lineFeedMode = options.convertEol;
    if (tdel != nullptr)
        tdel->showCursor(*this);
}

void Terminal::csiPHandler(const Params& pars, const Collect& collect)
{
    if (collect.size() == 1 && collect[0] == '!') {
        cmdSoftReset();
        return;
    }
    log("Unhandled CSI p " + decimalList(pars));
}

} // namespace brevlin
