#include "engine/buffer/Buffer.h"

#include "engine/buffer/Diagnostics.h"

#include <algorithm>
#include <string>

namespace brevlin {

int Buffer::getWrappedLineTrimmedLength(const BufferLine& line, const BufferLine* nextLine, int cols)
{
    if (!nextLine)
        return line.getTrimmedLength();
    const int last = cols - 1;
    if (line.hasContent(last) || line.getWidth(last) != 1)
        return cols;
    // An empty last column before a row that starts with a wide character held that character's place.
    return nextLine->getWidth(0) == 2 ? cols - 1 : cols;
}

void Buffer::resizeAllLines(int newCols)
{
    lines.forEachStoredLine([newCols](BufferLine& line) { line.resize(newCols, CharData::Null); });
}

// The reflow steps move the screen by counting rows added and removed; when the ring overflows
// that count can miss, leaving the screen partly past the last row or the cursor off its row.
// Re-anchor on the cursor's own row object in that case.
void Buffer::keepCursorOnItsRow(const BufferLine* cursorLine, int newCols, int newRows)
{
    while (lines.count() < newRows)
        lines.push(std::make_unique<BufferLine>(newCols, CharData::Null));
    const int highestBase = lines.count() - newRows;
    int cursorIndex = -1;
    for (int row = lines.count() - 1; row >= 0 && cursorLine; --row) {
        if (lines.lineIfPresent(row) == cursorLine) {
            cursorIndex = row;
            break;
        }
    }
    if (cursorIndex < 0)
        cursorIndex = std::clamp(yBase + y_, 0, lines.count() - 1);
    if (yBase <= highestBase && yBase + y_ == cursorIndex && y_ < newRows)
        return;

    const bool viewFollowsScreen = yDisp_ == yBase;
    yBase = std::clamp(cursorIndex - y_, std::max(cursorIndex - (newRows - 1), 0), std::min(highestBase, cursorIndex));
    y_ = cursorIndex - yBase;
    yDisp_ = viewFollowsScreen ? yBase : std::min(yDisp_, yBase);
}

void Buffer::resize(int newCols, int newRows)
{
    newCols = std::max(newCols, 1);
    newRows = std::max(newRows, 1);
    if (marginRight > newCols - 1)
        marginRight = newCols - 1;
    if (marginLeft >= marginRight)
        marginLeft = marginRight;

    const int capacity = getCorrectBufferLength(newRows);
    if (lines.maxLength() < capacity)
        lines.setMaxLength(capacity);

    if (lines.count() == 0) {
        lines.setMaxLength(capacity);
        scrollBottom_ = newRows - 1;
    } else {
        // Rows past the count are left over from earlier moves; nothing reads them before a
        // push or splice replaces them, so they are freed rather than resized.
        lines.releaseRowsPastCount();
        // Reflow widens the rows it writes as it goes and the rest afterwards, so rows it removes
        // are never widened.
        if (cols_ < newCols && !isReflowEnabled())
            resizeAllLines(newCols);

        int addToY = 0;
        if (rows_ > newRows) {
            for (int removed = 0; removed < rows_ - newRows; ++removed) {
                if (lines.count() <= newRows + yBase)
                    continue;
                if (yBase + y_ + 1 >= lines.count()) {
                    ++yBase;
                    ++yDisp_;
                } else {
                    lines.setCount(lines.count() - 1);
                }
            }
        } else if (rows_ < newRows) {
            for (int row = rows_; row < newRows; ++row) {
                if (lines.count() >= newRows + yBase)
                    continue;
                if (yBase > 0 && lines.count() <= yBase + row + addToY + 1) {
                    --yBase;
                    ++addToY;
                    if (yDisp_ > 0)
                        --yDisp_;
                } else {
                    lines.push(std::make_unique<BufferLine>(newCols, CharData::Null));
                }
            }
        }

        if (lines.maxLength() > capacity) {
            const int excess = lines.count() - capacity;
            if (excess > 0)
                dropOldestLines(excess);
            lines.setMaxLength(capacity);
        }

        x_ = std::min(x_, newCols - 1);
        y_ = std::min(y_, newRows - 1) + addToY;
        savedX = std::min(savedX, newCols - 1);
        scrollTop_ = 0;
        scrollBottom_ = newRows - 1;
    }

    tabStops.resize(static_cast<std::size_t>(newCols), false);

    if (isReflowEnabled() && cols_ != newCols && lines.count() > 0) {
        const BufferLine* cursorLine = lines.lineIfPresent(yBase + y_);
        if (cols_ < newCols)
            reflowWider(cols_, newCols, newRows);
        else
            reflowNarrower(cols_, newCols, newRows);
        keepCursorOnItsRow(cursorLine, newCols, newRows);
        lines.releaseRowsPastCount();
        if (linesWithImagesCount_ > 0)
            recalculateLinesWithImagesCount();
    }
    if (isReflowEnabled() && cols_ != newCols)
        resizeAllLines(newCols);

    if (lines.count() > 0) {
        // Every row must be at least as wide as the screen; widen any that is not rather than fail.
        lines.forEachStoredLine([newCols](BufferLine& line) {
            if (line.count() < newCols) {
                printDiagnostic("stop here newCols=" + std::to_string(newCols) + " but the element has: " + std::to_string(line.count()));
                BREVLIN_DEBUG_ASSERT(!"row narrower than the screen after resize");
                line.resize(newCols, CharData::Null);
            }
        });
    }

    cols_ = newCols;
    rows_ = newRows;
}

} // namespace brevlin
