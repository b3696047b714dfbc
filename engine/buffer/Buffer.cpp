#include "engine/buffer/Buffer.h"

#include "engine/buffer/CellFill.h"
#include "engine/buffer/Diagnostics.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace brevlin {

Buffer::Buffer(int cols, int rows, int tabStopWidth, std::optional<int> scrollback)
    : lines(0)
    , cols_(std::max(cols, 1))
    , rows_(std::max(rows, 1))
    , scrollback_(scrollback ? std::optional<int>(std::max(*scrollback, 0)) : std::nullopt)
{
    lines = CircularBufferLineList(getCorrectBufferLength(rows_));
    scrollBottom_ = rows_ - 1;
    // The terminal installs the real callback right after construction; until then a scroll
    // request is a caller error that must not take the host down.
    scroll = [](LineWrap) {
        printDiagnostic("This should be set after creating a buffer");
        BREVLIN_DEBUG_ASSERT(!"scroll callback not installed");
    };
    installLineCallbacks();
    setupTabStops(-1, tabStopWidth);
}

void Buffer::installLineCallbacks()
{
    lines.makeEmpty = [this](int) { return std::make_unique<BufferLine>(cols_, CharData::Null); };
    lines.onLinePushed = [this](bool hasImages) {
        if (hasImages)
            ++linesWithImagesCount_;
    };
    lines.onLineRecycled = [this](bool hadImages) {
        if (hadImages)
            --linesWithImagesCount_;
    };
}

void Buffer::setX(int value)
{
    if (value >= 0)
        x_ = value;
}

void Buffer::setY(int value)
{
    if (value >= 0)
        y_ = value;
}

void Buffer::setYDisp(int value)
{
    if (value >= 0)
        yDisp_ = value;
}

void Buffer::setScrollTop(int value)
{
    if (value >= 0)
        scrollTop_ = value;
}

void Buffer::setScrollBottom(int value)
{
    if (value >= 0)
        scrollBottom_ = value;
}

bool Buffer::isCursorInViewPort() const
{
    const int cursorRow = yBase + y_;
    return cursorRow >= yDisp_ && cursorRow < yDisp_ + rows_;
}

int Buffer::getCorrectBufferLength(int rows) const
{
    if (!scrollback_)
        return rows;
    const std::int64_t length = std::int64_t {rows} + *scrollback_;
    return static_cast<int>(std::min<std::int64_t>(length, std::numeric_limits<std::int32_t>::max()));
}

std::unique_ptr<BufferLine> Buffer::getBlankLine(const Attribute& attribute, LineWrap wrap) const
{
    return std::make_unique<BufferLine>(cols_, CharData {0, 1, {}, attribute}, wrap);
}

CharData Buffer::getNullCell(std::optional<Attribute> attribute)
{
    return CharData {' ', 1, {}, attribute.value_or(Attribute::empty)};
}

void Buffer::fillViewportRows(std::optional<Attribute> attribute)
{
    if (lines.count() != 0)
        return;
    const CharData fill {0, 1, {}, attribute.value_or(CharData::Null.attribute)};
    for (int row = 0; row < rows_; ++row)
        lines.push(std::make_unique<BufferLine>(cols_, fill));
}

const CharData& Buffer::getChar(Position position) const
{
    return getCharAtBufferRelative({position.col, position.row + yDisp_});
}

const CharData& Buffer::getCharAtBufferRelative(Position position) const
{
    if (position.row < 0 || position.row >= lines.count() || position.col < 0)
        return CharData::Null;
    const BufferLine& line = lines[position.row];
    if (position.col >= line.count())
        return CharData::Null;
    return line[position.col];
}

void Buffer::insertCharacter(const CharData& cell)
{
    const int width = cell.width;
    if (x_ + width - 1 > cols_ - 1) {
        if (width >= 2)
            return;
        x_ = cols_ - 1;
    }
    BufferLine& line = lines[yBase + y_];
    lastBufferStorage = {yBase + y_, x_, cols_, rows_};
    if (x_ >= cols_)
        x_ = cols_ - 1;
    line.setCell(x_, cell);
    ++x_;
    // The continuation cells take the character's own attribute, so its background spans both columns.
    const CharData continuation {0, 0, {}, cell.attribute};
    for (int extra = 1; extra < width && x_ < cols_; ++extra) {
        line.setCell(x_, continuation);
        ++x_;
    }
}

int Buffer::insertAsciiRun(std::span<const std::uint8_t> bytes, const Attribute& attribute)
{
    if (bytes.empty() || x_ > cols_ - 1)
        return 0;
    BufferLine& line = lines[yBase + y_];
    const int written = std::min(static_cast<int>(bytes.size()), cols_ - x_);
    const int inRow = std::clamp(line.count() - x_, 0, written);
    // Fill, then set the codes: two tight loops the compiler vectorises, where building each
    // cell whole would go through memory.
    CharData* cells = line.cells().data() + x_;
    fillCells(cells, cells + inRow, CharData {0, 1, {}, attribute});
    for (int i = 0; i < inRow; ++i)
        cells[i].code = bytes[static_cast<std::size_t>(i)];
    for (int i = inRow; i < written; ++i)
        line.setCell(x_ + i, CharData {bytes[static_cast<std::size_t>(i)], 1, {}, attribute});
    x_ += written;
    lastBufferStorage = {yBase + y_, x_ - 1, cols_, rows_};
    return written;
}

void Buffer::clear()
{
    yDisp_ = 0;
    linesTop = 0;
    xBase = 0;
    x_ = 0;
    y_ = 0;
    yBase = 0;
    lines = CircularBufferLineList(getCorrectBufferLength(rows_));
    installLineCallbacks();
    linesWithImagesCount_ = 0;
    scrollTop_ = 0;
    scrollBottom_ = rows_ - 1;
}

void Buffer::softReset()
{
    savedAttr = Attribute();
    savedX = 0;
    savedY = 0;
    savedCharset = nullptr;
    marginLeft = 0;
    marginRight = cols_ - 1;
    savedOriginMode = false;
    savedMarginMode = false;
    savedWraparound = false;
    savedReverseWraparound = false;
}

void Buffer::dropOldestLines(int count)
{
    lines.trimStart(count);
    yBase = std::max(yBase - count, 0);
    yDisp_ = std::max(yDisp_ - count, 0);
    savedY = std::max(savedY - count, 0);
    if (linesWithImagesCount_ > 0)
        recalculateLinesWithImagesCount();
}

void Buffer::changeHistorySize(std::optional<int> scrollback)
{
    scrollback_ = scrollback ? std::optional<int>(std::max(*scrollback, 0)) : std::nullopt;
    const int capacity = getCorrectBufferLength(rows_);
    if (capacity == lines.maxLength())
        return;
    if (capacity < lines.maxLength()) {
        const int excess = lines.count() - capacity;
        if (excess >= 1)
            dropOldestLines(excess);
    }
    lines.setMaxLength(capacity);
}

void Buffer::setupTabStops(int index, int tabStopWidth)
{
    if (tabStopWidth <= 0) {
        BREVLIN_DEBUG_ASSERT(!"tab stop width must be positive");
        return;
    }
    int start = 0;
    if (index == -1) {
        tabStops.assign(static_cast<std::size_t>(cols_), false);
    } else {
        tabStops.resize(static_cast<std::size_t>(cols_), false);
        const int column = std::min(cols_ - 1, index);
        start = column >= 0 && tabStops[static_cast<std::size_t>(column)] ? index : previousTabStop(column);
    }
    for (int col = std::max(start, 0); col < cols_; col += tabStopWidth)
        tabStops[static_cast<std::size_t>(col)] = true;
}

int Buffer::previousTabStop(int index) const
{
    const int from = index == -1 ? x_ : index;
    if (from < 0)
        return from;
    for (int col = std::min(from, static_cast<int>(tabStops.size())) - 1; col >= 0; --col) {
        if (tabStops[static_cast<std::size_t>(col)])
            return std::min(col, cols_ - 1);
    }
    return 0;
}

int Buffer::nextTabStop(TabStopLimit limit, int index) const
{
    const int last = limit == TabStopLimit::rightMargin ? marginRight : cols_ - 1;
    const int from = index == -1 ? x_ : index;
    const int end = std::min(last, static_cast<int>(tabStops.size()) - 1);
    for (int col = std::max(from + 1, 0); col <= end; ++col) {
        if (tabStops[static_cast<std::size_t>(col)])
            return col;
    }
    return last;
}

void Buffer::attachImage(std::shared_ptr<TerminalImage> image, int lineIndex)
{
    if (lineIndex < 0 || lineIndex >= lines.maxLength()) {
        BREVLIN_DEBUG_ASSERT(!"image row outside the ring");
        return;
    }
    BufferLine& line = lines[lineIndex];
    if (!line.images)
        ++linesWithImagesCount_;
    line.attach(std::move(image));
}

void Buffer::clearImagesFromLine(int lineIndex)
{
    if (lineIndex < 0 || lineIndex >= lines.maxLength())
        return;
    BufferLine& line = lines[lineIndex];
    if (!line.images)
        return;
    line.images.reset();
    --linesWithImagesCount_;
}

void Buffer::recalculateLinesWithImagesCount()
{
    int count = 0;
    for (int i = 0; i < lines.count(); ++i) {
        if (const BufferLine* line = lines.lineIfPresent(i); line && line->images)
            ++count;
    }
    linesWithImagesCount_ = count;
}

} // namespace brevlin
