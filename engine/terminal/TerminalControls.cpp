#include "engine/terminal/Terminal.h"

#include <algorithm>

namespace brevlin {

void Terminal::cmdLineFeedBasic()
{
    Buffer& b = *buffer_;
    const int x = b.x();
    if (x >= b.marginLeft && b.y() == b.scrollBottom() && x <= b.marginRight)
        scroll(LineWrap::unwrapped);
    else if (b.y() != b.scrollBottom() && b.y() != rows - 1)
        b.setY(b.y() + 1);
    if (b.x() >= cols)
        b.setX(cols - 1);
    emitLineFeed();
    if (lineFeedMode)
        b.setX(originMode && marginMode ? b.marginLeft : 0);
}

void Terminal::emitLineFeed()
{
    if (tdel != nullptr)
        tdel->linefeed(*this);
}

void Terminal::cmdCarriageReturn()
{
    Buffer& b = *buffer_;
    b.setX(marginMode && b.x() >= b.marginLeft ? b.marginLeft : 0);
}

void Terminal::cmdBackspace()
{
    Buffer& b = *buffer_;
    restrictCursor(reverseWraparound ? CursorColumnLimit::pendingWrap : CursorColumnLimit::lastColumn);
    const int left = marginMode ? b.marginLeft : 0;
    const int right = marginMode ? b.marginRight : b.cols() - 1;
    if (b.x() > left) {
        b.setX(b.x() - 1);
        return;
    }
    if (!reverseWraparound) {
        if (b.x() < left && b.x() > 0)
            b.setX(b.x() - 1);
        return;
    }
    if (b.y() > b.scrollTop() && b.y() <= b.scrollBottom()) {
        BufferLine& line = b.lines[b.yBase + b.y()];
        if (line.isWrapped && !marginMode)
            line.isWrapped = false;
        b.setX(right);
        b.setY(b.y() - 1);
    } else if (b.y() == b.scrollTop()) {
        b.setX(right);
        b.setY(b.scrollBottom());
    } else if (b.y() > 0) {
        b.setX(right);
        b.setY(b.y() - 1);
    }
}

void Terminal::setgLevel(std::uint8_t level)
{
    gLevel = level;
    charset = level <= 3 ? gCharsets[level] : nullptr;
}

void Terminal::setgCharset(std::uint8_t slot, const CharacterSetTable* table)
{
    if (slot > 3)
        return;
    gCharsets[slot] = table;
    if (gLevel == slot)
        charset = table;
}

CharData Terminal::makeCharData(const Attribute& attribute, std::int32_t code, int size) const
{
    CharData cell;
    cell.attribute = attribute;
    cell.setValue(code, size);
    return cell;
}

void Terminal::updateCharData(CharData& cell, std::int32_t code, int size) const { cell.setValue(code, std::clamp(size, -128, 127)); }

// Cursor placement.

void Terminal::restrictCursor(CursorColumnLimit limit)
{
    Buffer& b = *buffer_;
    const int maxColumn = limit == CursorColumnLimit::lastColumn ? cols - 1 : cols;
    b.setX(std::clamp(b.x(), 0, maxColumn));
    if (originMode)
        b.setY(std::clamp(b.y(), b.scrollTop(), b.scrollBottom()));
    else
        b.setY(std::clamp(b.y(), 0, rows - 1));
    updateRange(b.y());
}

void Terminal::setCursor(int col, int row)
{
    Buffer& b = *buffer_;
    updateRange(b.y());
    if (originMode) {
        b.setX(col + (marginMode ? b.marginLeft : 0));
        b.setY(b.scrollTop() + row);
    } else {
        b.setX(col);
        b.setY(row);
    }
    restrictCursor();
}

void Terminal::cursorForward(std::int64_t count)
{
    Buffer& b = *buffer_;
    const int n = static_cast<int>(std::clamp<std::int64_t>(count, 1, cols));
    int limit = cols - 1;
    if (marginMode)
        limit = b.x() <= b.marginRight ? b.marginRight : b.cols() - 1;
    b.setX(std::min(b.x() + n, limit));
}

void Terminal::cursorBackward(std::int64_t count)
{
    Buffer& b = *buffer_;
    const int n = static_cast<int>(std::clamp<std::int64_t>(count, 1, cols));
    const int limit = marginMode && b.x() >= b.marginLeft ? b.marginLeft : 0;
    // A cursor left at the pending-wrap column steps back from the last column.
    const int from = std::min(b.x(), cols - 1);
    b.setX(std::max(from - n, limit));
}

void Terminal::setCursorStyle(CursorStyle style)
{
    if (style == options.cursorStyle)
        return;
    if (tdel != nullptr)
        tdel->cursorStyleChanged(*this, style);
    options.cursorStyle = style;
}

} // namespace brevlin
