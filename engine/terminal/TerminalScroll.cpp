#include "engine/terminal/Terminal.h"

#include <algorithm>
#include <cstdio>

namespace brevlin {

Attribute Terminal::eraseAttribute() const { return Attribute(Attribute::Color::defaultColor(), curAttr.bg); }

CharData Terminal::eraseCell() const
{
    CharData cell;
    cell.attribute = eraseAttribute();
    return cell;
}

void Terminal::refreshBlankLine(LineWrap wrap)
{
    const Attribute erase = eraseAttribute();
    if (blankLine_->count() != buffer_->cols() || (blankLine_->count() > 0 && (*blankLine_)[0].attribute != erase))
        blankLine_ = std::make_unique<BufferLine>(buffer_->cols(), eraseCell(), wrap);
    blankLine_->isWrapped = wrap == LineWrap::wrapped;
}

void Terminal::copyMarginCells(int fromRow, int toRow)
{
    Buffer& b = *buffer_;
    BufferLine& target = b.lines[toRow];
    target.copyFrom(b.lines[fromRow], b.marginLeft, b.marginLeft, b.marginRight - b.marginLeft + 1);
    target.isWrapped = false;
    b.clearImagesFromLine(toRow);
    target.renderMode = BufferLine::RenderLineMode::single;
}

void Terminal::clearMarginCells(int row)
{
    Buffer& b = *buffer_;
    BufferLine& line = b.lines[row];
    line.fill(eraseCell(), b.marginLeft, b.marginRight - b.marginLeft + 1);
    line.isWrapped = false;
    b.clearImagesFromLine(row);
    line.renderMode = BufferLine::RenderLineMode::single;
}

// Rows topRow..bottomRow move up one; topRow leaves and `blank` enters at bottomRow. Rows are
// moved in the ring, never copied cell by cell.
void Terminal::rotateRowsUp(int topRow, int bottomRow, std::unique_ptr<BufferLine> blank)
{
    Buffer& b = *buffer_;
    if (b.hasAnyImages())
        b.clearImagesFromLine(topRow);
    b.lines.splice(topRow, 1, {});
    std::vector<std::unique_ptr<BufferLine>> inserted;
    inserted.push_back(std::move(blank));
    b.lines.splice(bottomRow, 0, std::move(inserted));
}

// Rows topRow..bottomRow move down one; bottomRow leaves and `blank` enters at topRow.
void Terminal::rotateRowsDown(int topRow, int bottomRow, std::unique_ptr<BufferLine> blank)
{
    Buffer& b = *buffer_;
    if (b.hasAnyImages())
        b.clearImagesFromLine(bottomRow);
    b.lines.splice(bottomRow, 1, {});
    std::vector<std::unique_ptr<BufferLine>> inserted;
    inserted.push_back(std::move(blank));
    b.lines.splice(topRow, 0, std::move(inserted));
}

void Terminal::scroll(LineWrap wrap)
{
    Buffer& b = *buffer_;
    refreshBlankLine(wrap);
    const int topRow = b.yBase + b.scrollTop();
    const int bottomRow = b.yBase + b.scrollBottom();
    const bool partialWidth = marginMode && (b.marginLeft > 0 || b.marginRight < cols - 1);

    auto advanceIntoScrollback = [&](bool ringWasFull) {
        if (!ringWasFull) {
            ++b.yBase;
            if (!userScrolling)
                b.setYDisp(b.yDisp() + 1);
            return;
        }
        if (b.hasScrollback())
            ++b.linesTop;
        if (userScrolling)
            b.setYDisp(std::max(b.yDisp() - 1, 0));
    };

    if (partialWidth) {
        for (int row = topRow; row < bottomRow; ++row)
            copyMarginCells(row + 1, row);
        clearMarginCells(bottomRow);
    } else if (b.scrollTop() == 0) {
        if (bottomRow == b.lines.count() - 1) {
            if (!b.lines.isFull()) {
                b.lines.push(std::make_unique<BufferLine>(*blankLine_));
                advanceIntoScrollback(false);
            } else {
                // The oldest row becomes the new bottom row: no allocation once the ring is full.
                b.lines.recycle(eraseAttribute());
                BufferLine& recycled = b.lines[b.lines.count() - 1];
                if (recycled.count() != b.cols())
                    recycled.resize(b.cols(), eraseCell());
                recycled.isWrapped = wrap == LineWrap::wrapped;
                recycled.renderMode = BufferLine::RenderLineMode::single;
                advanceIntoScrollback(true);
            }
        } else {
            const bool wasFull = b.lines.isFull();
            std::vector<std::unique_ptr<BufferLine>> inserted;
            inserted.push_back(std::make_unique<BufferLine>(*blankLine_));
            b.lines.splice(bottomRow + 1, 0, std::move(inserted));
            advanceIntoScrollback(wasFull);
        }
    } else {
        if (b.lines.count() <= bottomRow) {
            std::printf("scroll: bottomRow %d >= lines.count %d, state: yBase=%d scrollTop=%d scrollBottom=%d isAlternate=%s\n",
                bottomRow, b.lines.count(), b.yBase, b.scrollTop(), b.scrollBottom(),
                isCurrentBufferAlternate() ? "true" : "false");
            return;
        }
        rotateRowsUp(topRow, bottomRow, std::make_unique<BufferLine>(*blankLine_));
    }

    if (!userScrolling)
        b.setYDisp(b.yBase);
    refreshStart = std::min(refreshStart, b.scrollTop());
    refreshEnd = std::max(refreshEnd, b.scrollBottom());
    if (!b.hasScrollback()) {
        updateRange(b.scrollTop());
        updateRange(b.scrollBottom());
    }
    if (tdel != nullptr)
        tdel->scrolled(*this, b.yDisp());
}

void Terminal::cmdIndex()
{
    restrictCursor();
    Buffer& b = *buffer_;
    if (b.x() < b.marginLeft) {
        if (b.y() + 1 <= b.scrollBottom())
            b.setY(b.y() + 1);
    } else if (b.y() + 1 <= b.scrollBottom()) {
        b.setY(b.y() + 1);
    } else if (b.x() <= b.marginRight) {
        scroll(LineWrap::unwrapped);
    }
}

void Terminal::reverseIndex()
{
    restrictCursor();
    Buffer& b = *buffer_;
    if (b.x() < b.marginLeft) {
        if (b.y() != b.scrollTop() && b.y() != 0)
            b.setY(b.y() - 1);
        return;
    }
    if (b.y() != b.scrollTop()) {
        if (b.y() != 0)
            b.setY(b.y() - 1);
        return;
    }
    if (b.x() > b.marginRight)
        return;
    const int topRow = b.yBase + b.y();
    const int bottomRow = b.yBase + b.scrollBottom();
    if (b.lines.count() <= topRow) {
        std::printf("reverseIndex: start index %d >= lines.count %d, state: y=%d yBase=%d scrollTop=%d scrollBottom=%d isAlternate=%s\n",
            topRow, b.lines.count(), b.y(), b.yBase, b.scrollTop(), b.scrollBottom(),
            isCurrentBufferAlternate() ? "true" : "false");
        return;
    }
    const bool partialWidth = marginMode && (b.marginLeft > 0 || b.marginRight < cols - 1);
    if (partialWidth) {
        for (int row = bottomRow; row > topRow; --row)
            copyMarginCells(row - 1, row);
        clearMarginCells(topRow);
    } else {
        rotateRowsDown(topRow, bottomRow, b.getBlankLine(eraseAttribute()));
    }
    updateRange(b.scrollTop());
    updateRange(b.scrollBottom());
}

void Terminal::columnIndex(ColumnDirection direction)
{
    Buffer& b = *buffer_;
    if (direction == ColumnDirection::back) {
        if (b.x() != b.marginLeft)
            cursorBackward(1);
        else
            columnScroll(ColumnDirection::back, b.x());
        return;
    }
    if (b.x() != b.marginRight) {
        if (b.x() != b.cols())
            cursorForward(1);
    } else {
        columnScroll(ColumnDirection::forward, b.marginLeft);
    }
}

void Terminal::columnScroll(ColumnDirection direction, int at)
{
    Buffer& b = *buffer_;
    if (b.y() < b.scrollTop() || b.y() > b.scrollBottom() || b.x() < b.marginLeft || b.x() > b.marginRight)
        return;
    const int right = marginMode ? b.marginRight : cols - 1;
    for (int row = b.scrollTop(); row <= b.scrollBottom(); ++row) {
        BufferLine& line = b.lines[b.yBase + row];
        if (direction == ColumnDirection::back) {
            if (at < right)
                line.copyFrom(line, at, at + 1, right - at);
            CharData space = Buffer::getNullCell(Attribute::empty);
            line.setCell(at, space);
        } else {
            if (at < right)
                line.copyFrom(line, at + 1, at, right - at);
            CharData space = Buffer::getNullCell(eraseAttribute());
            line.setCell(right, space);
        }
    }
    updateRange(b.scrollTop());
    updateRange(b.scrollBottom());
}

void Terminal::cmdReset()
{
    parser->reset();
    resetToInitialState();
}

void Terminal::resetToInitialState()
{
    endSynchronizedOutput();
    options.rows = rows;
    options.cols = cols;
    const bool wasHidden = cursorHidden;
    setup(ResetKind::reset);
    cursorHidden = wasHidden;
    updateRange(0);
    updateRange(rows - 1);
}

void Terminal::resize(int newCols, int newRows)
{
    newCols = std::max(newCols, MINIMUM_COLS);
    newRows = std::max(newRows, MINIMUM_ROWS);
    if (newCols == cols && newRows == rows)
        return;
    endSynchronizedOutput();
    const int oldCols = cols;
    resizeBuffers(newCols, newRows);
    cols = newCols;
    rows = newRows;
    options.cols = newCols;
    options.rows = newRows;
    normalBuffer_->setupTabStops(oldCols, tabStopWidth);
    altBuffer_->setupTabStops(oldCols, tabStopWidth);
    updateRange(0);
    updateRange(rows - 1);
}

// The saved cursor keeps its distance to the cursor when reflow moves lines.
void Terminal::resizeBuffers(int newColumns, int newRows)
{
    const int distance = normalBuffer_->savedY - normalBuffer_->y();
    normalBuffer_->resize(newColumns, newRows);
    normalBuffer_->savedY = std::max(normalBuffer_->y() + distance, 0);
    altBuffer_->resize(newColumns, newRows);
}

void Terminal::changeScrollback(std::optional<int> scrollback)
{
    normalBuffer_->changeHistorySize(scrollback);
    options.scrollback = scrollback.value_or(0);
    updateRange(0);
    updateRange(rows - 1);
}

} // namespace brevlin
