#include "engine/buffer/BufferLine.h"

#include "engine/buffer/CellFill.h"
#include "engine/buffer/Diagnostics.h"
#include "engine/buffer/Utf8.h"

#include <algorithm>

namespace brevlin {

BufferLine::BufferLine(int cols, const CharData& fillData, LineWrap wrap)
    : isWrapped(wrap == LineWrap::wrapped)
    , cells_(static_cast<std::size_t>(std::max(cols, 0)), fillData)
    , fillCharacter_(fillData)
{
}

const CharData& BufferLine::operator[](int index) const
{
    if (cells_.empty()) {
        BREVLIN_DEBUG_ASSERT(!"read from a row without cells");
        return CharData::Null;
    }
    const auto last = static_cast<int>(cells_.size()) - 1;
    return cells_[static_cast<std::size_t>(std::clamp(index, 0, last))];
}

void BufferLine::setCell(int index, const CharData& cell)
{
    if (cells_.empty()) {
        BREVLIN_DEBUG_ASSERT(!"write to a row without cells");
        return;
    }
    const auto last = static_cast<int>(cells_.size()) - 1;
    if (index > last) {
        printDiagnostic("BufferLine: You passed an index out of range, adjusting to prevent crash, but you should debug");
        index = last;
    }
    cells_[static_cast<std::size_t>(std::max(index, 0))] = cell;
}

void BufferLine::copyFrom(const BufferLine& line)
{
    cells_ = line.cells_;
    isWrapped = line.isWrapped;
}

void BufferLine::copyFrom(const BufferLine& source, int sourceCol, int destinationCol, int length)
{
    if (sourceCol < 0 || destinationCol < 0)
        return;
    length = std::min({length, source.count() - sourceCol, count() - destinationCol});
    if (length <= 0)
        return;
    const CharData* from = source.cells_.data() + sourceCol;
    CharData* to = cells_.data() + destinationCol;
    // std::copy_backward handles the overlap of a move to the right within one row.
    if (&source == this && destinationCol > sourceCol)
        std::copy_backward(from, from + length, to + length);
    else
        std::copy(from, from + length, to);
}

void BufferLine::resize(int cols, const CharData& fillData)
{
    if (cols == count())
        return;
    cells_.resize(static_cast<std::size_t>(std::max(cols, 0)), fillData);
}

void BufferLine::fill(const CharData& cell)
{
    fillCells(cells_.data(), cells_.data() + cells_.size(), cell);
}

void BufferLine::fill(const CharData& cell, int atCol, int length)
{
    replaceCells(atCol, atCol + length, cell);
}

void BufferLine::replaceCells(int start, int end, const CharData& fillData)
{
    start = std::max(start, 0);
    end = std::min(end, count());
    if (start < end)
        fillCells(cells_.data() + start, cells_.data() + end, fillData);
}

void BufferLine::clear(const Attribute& attribute)
{
    fill(CharData {0, 1, {}, attribute});
    images.reset();
}

void BufferLine::insertCells(int position, int n, int rightMargin, const CharData& fillData)
{
    if (cells_.empty() || n <= 0)
        return;
    BREVLIN_DEBUG_ASSERT(rightMargin < count());
    rightMargin = std::clamp(rightMargin, 0, count() - 1);
    const int start = std::max(position, 0) % (rightMargin + 1);
    if (n >= rightMargin + 1 - start) {
        replaceCells(start, rightMargin + 1, fillData);
        return;
    }
    copyFrom(*this, start, start + n, rightMargin + 1 - start - n);
    replaceCells(start, start + n, fillData);
}

void BufferLine::deleteCells(int position, int n, int rightMargin, const CharData& fillData)
{
    if (cells_.empty() || n <= 0)
        return;
    BREVLIN_DEBUG_ASSERT(rightMargin < count());
    rightMargin = std::clamp(rightMargin, 0, count() - 1);
    position = std::max(position, 0);
    if (position > rightMargin)
        return;
    if (n >= rightMargin + 1 - position) {
        replaceCells(position, rightMargin + 1, fillData);
        return;
    }
    copyFrom(*this, position + n, position, rightMargin + 1 - position - n);
    replaceCells(rightMargin + 1 - n, rightMargin + 1, fillData);
}

int BufferLine::getTrimmedLength() const
{
    for (int i = count() - 1; i >= 0; --i) {
        const CharData& cell = cells_[static_cast<std::size_t>(i)];
        if (cell.code != 0)
            return i + cell.width;
    }
    return 0;
}

bool BufferLine::hasContent(int index) const
{
    const CharData& cell = (*this)[index];
    const Attribute& attribute = cell.attribute;
    return cell.code != 0 || !attribute.style.isEmpty() || attribute.fg != Attribute::Color::defaultColor()
        || attribute.bg != Attribute::Color::defaultColor() || attribute.underlineStyle != UnderlineStyle::none
        || attribute.underlineColor().has_value();
}

bool BufferLine::hasAnyContent() const
{
    for (int i = 0; i < count(); ++i) {
        if (hasContent(i))
            return true;
    }
    return false;
}

std::string BufferLine::translateToString(const TranslateOptions& options, const CharacterProvider& characterProvider) const
{
    const int start = std::clamp(options.startCol, 0, count());
    int end = options.endCol == -1 ? count() : std::clamp(options.endCol, 0, count());
    if (options.trimRight)
        end = std::max(std::min(getTrimmedLength(), end), start);

    std::string text;
    text.reserve(static_cast<std::size_t>(std::max(end - start, 0)));
    for (int col = start; col < end; ++col) {
        const CharData& cell = cells_[static_cast<std::size_t>(col)];
        if (options.skipNullCellsFollowingWide && col >= 1 && cell.code == 0 && cells_[static_cast<std::size_t>(col - 1)].width == 2)
            continue;
        if (characterProvider)
            text += characterProvider(cell);
        else
            appendUtf8(text, cell.getCharacter());
        if (options.skipNullCellsFollowingWide && cell.width == 2 && col + 1 < end && cells_[static_cast<std::size_t>(col + 1)].code == 0)
            ++col;
    }
    return text;
}

std::string BufferLine::debugDescription() const
{
    std::string text;
    for (const CharData& cell : cells_)
        appendUtf8(text, cell.getCharacter());
    return text;
}

void BufferLine::prefetchForWrite() const
{
    const auto* bytes = reinterpret_cast<const char*>(cells_.data());
    const std::size_t size = cells_.size() * sizeof(CharData);
    for (std::size_t offset = 0; offset < size; offset += 64)
        __builtin_prefetch(bytes + offset, 1);
}

void BufferLine::attach(std::shared_ptr<TerminalImage> image)
{
    if (!images)
        images.emplace();
    images->push_back(std::move(image));
}

} // namespace brevlin
