#include "engine/terminal/Terminal.h"

#include <algorithm>

namespace brevlin {

namespace {

int countParameter(const Terminal::Params& pars, int cap)
{
    const std::int64_t value = pars.empty() ? 1 : pars[0];
    return static_cast<int>(std::clamp<std::int64_t>(value, 1, std::max(cap, 1)));
}

} // namespace

int Terminal::leftColumn() const { return marginMode ? buffer_->marginLeft : 0; }
int Terminal::rightColumn() const { return marginMode ? buffer_->marginRight : cols - 1; }

void Terminal::eraseInBufferLine(int row, int start, int end)
{
    Buffer& b = *buffer_;
    BufferLine& line = b.lines[b.yBase + row];
    end = std::min(end, line.count());
    if (start < end)
        line.fill(eraseCell(), start, end - start);
}

void Terminal::resetBufferLine(int row)
{
    Buffer& b = *buffer_;
    BufferLine& line = b.lines[b.yBase + row];
    line.fill(eraseCell());
    line.isWrapped = false;
    line.renderMode = BufferLine::RenderLineMode::single;
}

void Terminal::cmdEraseInDisplay(const Params& pars)
{
    Buffer& b = *buffer_;
    const std::int64_t mode = pars.empty() ? 0 : pars[0];
    switch (mode) {
    case 0:
        updateRange(b.y());
        eraseInBufferLine(b.y(), b.x(), cols);
        if (b.x() == 0)
            b.lines[b.yBase + b.y()].isWrapped = false;
        for (int row = b.y() + 1; row < rows; ++row)
            resetBufferLine(row);
        updateRange(rows - 1);
        break;
    case 1:
        updateRange(b.y());
        eraseInBufferLine(b.y(), 0, b.x() + 1);
        b.lines[b.yBase + b.y()].isWrapped = false;
        if (b.x() + 1 >= cols && b.y() + 1 < rows)
            b.lines[b.yBase + b.y() + 1].isWrapped = false;
        for (int row = 0; row < b.y(); ++row)
            resetBufferLine(row);
        updateRange(0);
        break;
    case 2:
        for (int row = rows - 1; row >= 0; --row) {
            resetBufferLine(row);
            b.clearImagesFromLine(b.yBase + row);
        }
        updateRange(0);
        updateRange(rows - 1);
        break;
    case 3: {
        const int dropped = b.lines.count() - rows;
        if (dropped < 1)
            break;
        b.lines.trimStart(dropped);
        b.linesTop = 0;
        b.yBase = std::max(b.yBase - dropped, 0);
        b.setYDisp(std::max(b.yDisp() - dropped, 0));
        updateFullScreen();
        break;
    }
    default: break;
    }
}

void Terminal::cmdEraseInLine(const Params& pars)
{
    Buffer& b = *buffer_;
    const std::int64_t mode = pars.empty() ? 0 : pars[0];
    if (mode == 0)
        eraseInBufferLine(b.y(), b.x(), cols);
    else if (mode == 1)
        eraseInBufferLine(b.y(), 0, b.x() + 1);
    else if (mode == 2)
        eraseInBufferLine(b.y(), 0, cols);
    updateRange(b.y());
}

void Terminal::cmdEraseChars(const Params& pars)
{
    Buffer& b = *buffer_;
    eraseInBufferLine(b.y(), b.x(), b.x() + countParameter(pars, cols));
    updateRange(b.y());
}

void Terminal::cmdInsertChars(const Params& pars)
{
    Buffer& b = *buffer_;
    if (marginMode && (b.x() < b.marginLeft || b.x() > b.marginRight))
        return;
    if (b.x() >= cols)
        return;
    b.lines[b.yBase + b.y()].insertCells(b.x(), countParameter(pars, cols), rightColumn(), eraseCell());
    updateRange(b.y());
}

void Terminal::cmdDeleteChars(const Params& pars)
{
    Buffer& b = *buffer_;
    if (marginMode && (b.x() < b.marginLeft || b.x() > b.marginRight))
        return;
    if (b.x() >= b.cols())
        return;
    int n = countParameter(pars, cols);
    if (marginMode && b.x() + n > b.marginRight)
        n = b.marginRight - b.x() + 1;
    b.lines[b.yBase + b.y()].deleteCells(b.x(), n, rightColumn(), eraseCell());
    updateRange(b.y());
}

void Terminal::cmdInsertLines(const Params& pars)
{
    Buffer& b = *buffer_;
    if (b.y() < b.scrollTop() || b.y() > b.scrollBottom())
        return;
    const int n = std::min(countParameter(pars, rows), b.scrollBottom() - b.y() + 1);
    if (marginMode) {
        if (b.x() < b.marginLeft || b.x() > b.marginRight)
            return;
        for (int i = 0; i < n; ++i) {
            for (int row = b.scrollBottom() - 1; row >= b.y(); --row)
                copyMarginCells(b.yBase + row, b.yBase + row + 1);
            eraseInBufferLine(b.y(), b.marginLeft, b.marginRight + 1);
        }
    } else {
        const int cursorRow = b.yBase + b.y();
        const int bottomRow = b.yBase + b.scrollBottom();
        for (int i = 0; i < n; ++i) {
            rotateRowsDown(cursorRow, bottomRow, b.getBlankLine(eraseAttribute()));
        }
    }
    updateRange(b.y());
    updateRange(b.scrollBottom());
}

void Terminal::cmdDeleteLines(const Params& pars)
{
    restrictCursor();
    Buffer& b = *buffer_;
    if (b.y() < b.scrollTop() || b.y() > b.scrollBottom())
        return;
    const int n = std::min(countParameter(pars, rows), b.scrollBottom() - b.y() + 1);
    if (marginMode) {
        if (b.x() < b.marginLeft || b.x() > b.marginRight)
            return;
        for (int i = 0; i < n; ++i) {
            for (int row = b.y() + 1; row <= b.scrollBottom(); ++row)
                copyMarginCells(b.yBase + row, b.yBase + row - 1);
            eraseInBufferLine(b.scrollBottom(), b.marginLeft, b.marginRight + 1);
        }
    } else {
        const int cursorRow = b.yBase + b.y();
        const int bottomRow = b.yBase + b.scrollBottom();
        for (int i = 0; i < n; ++i) {
            rotateRowsUp(cursorRow, bottomRow, b.getBlankLine(eraseAttribute()));
        }
    }
    updateRange(b.y());
    updateRange(b.scrollBottom());
}

void Terminal::cmdScrollUp(const Params& pars)
{
    Buffer& b = *buffer_;
    const int n = std::min(countParameter(pars, rows), b.scrollBottom() - b.scrollTop() + 1);
    const int topRow = b.yBase + b.scrollTop();
    const int bottomRow = b.yBase + b.scrollBottom();
    for (int i = 0; i < n; ++i) {
        if (marginMode) {
            for (int row = topRow; row < bottomRow; ++row)
                copyMarginCells(row + 1, row);
            b.lines[bottomRow].fill(CharData::Null, b.marginLeft, b.marginRight - b.marginLeft + 1);
        } else {
            rotateRowsUp(topRow, bottomRow, b.getBlankLine(Attribute()));
        }
    }
    updateRange(b.scrollTop());
    updateRange(b.scrollBottom());
}

void Terminal::cmdScrollDown(const Params& pars)
{
    Buffer& b = *buffer_;
    const int n = std::min(countParameter(pars, rows), b.scrollBottom() - b.scrollTop() + 1);
    const int topRow = b.yBase + b.scrollTop();
    const int bottomRow = b.yBase + b.scrollBottom();
    for (int i = 0; i < n; ++i) {
        if (marginMode) {
            for (int row = bottomRow; row > topRow; --row)
                copyMarginCells(row - 1, row);
            b.lines[topRow].fill(eraseCell(), b.marginLeft, b.marginRight - b.marginLeft + 1);
        } else {
            rotateRowsDown(topRow, bottomRow, b.getBlankLine(eraseAttribute()));
        }
    }
    updateRange(b.scrollTop());
    updateRange(b.scrollBottom());
}

void Terminal::cmdDeleteColumns(const Params& pars)
{
    Buffer& b = *buffer_;
    if (b.y() < b.scrollTop() || b.y() > b.scrollBottom() || b.x() >= b.cols())
        return;
    if (marginMode && (b.x() < b.marginLeft || b.x() > b.marginRight))
        return;
    const int n = countParameter(pars, cols);
    for (int row = b.scrollTop(); row <= b.scrollBottom(); ++row)
        b.lines[b.yBase + row].deleteCells(b.x(), n, rightColumn(), eraseCell());
    updateRange(b.scrollTop());
    updateRange(b.scrollBottom());
}

void Terminal::cmdRepeatPrecedingCharacter(const Params& pars)
{
    Buffer& b = *buffer_;
    const int n = std::min(countParameter(pars, 2 * cols * rows), 2 * cols * rows);
    CharData cell;
    if (b.x() > 0) {
        const BufferLine& line = b.lines[b.yBase + b.y()];
        cell = line[std::min(b.x() - 1, line.count() - 1)];
    }
    if (cell.width == 0)
        return;
    for (int i = 0; i < n; ++i)
        insertCell(cell);
    updateRange(b.y());
}

} // namespace brevlin
