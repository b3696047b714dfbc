#include "engine/buffer/Buffer.h"

#include <algorithm>

namespace brevlin {

namespace {

// The rows of the logical line that starts at buffer row `first`.
std::vector<BufferLine*> collectGroup(CircularBufferLineList& lines, int first)
{
    std::vector<BufferLine*> group {&lines[first]};
    for (int row = first + 1; row < lines.count() && lines[row].isWrapped; ++row)
        group.push_back(&lines[row]);
    return group;
}

int wrappedLength(std::span<BufferLine* const> group, std::size_t index, int cols)
{
    const BufferLine* next = index + 1 < group.size() ? group[index + 1] : nullptr;
    return Buffer::getWrappedLineTrimmedLength(*group[index], next, cols);
}

} // namespace

std::vector<int> Buffer::getNewLineLengths(std::span<BufferLine* const> wrappedLines, int oldCols, int newCols)
{
    int needed = 0;
    for (std::size_t i = 0; i < wrappedLines.size(); ++i)
        needed += wrappedLength(wrappedLines, i, oldCols);

    std::vector<int> lengths;
    int used = 0;
    int sourceCol = 0;
    std::size_t sourceLine = 0;
    while (used < needed) {
        if (needed - used < newCols) {
            lengths.push_back(needed - used);
            break;
        }
        sourceCol += newCols;
        while (sourceLine < wrappedLines.size() && sourceCol > wrappedLength(wrappedLines, sourceLine, oldCols)) {
            sourceCol -= wrappedLength(wrappedLines, sourceLine, oldCols);
            ++sourceLine;
        }
        // A wide character must not straddle the new right edge: the row ends before it.
        const bool endsInsideWide = newCols >= 2 && sourceLine < wrappedLines.size() && sourceCol >= 1
            && wrappedLines[sourceLine]->getWidth(sourceCol - 1) == 2;
        if (endsInsideWide)
            --sourceCol;
        const int length = endsInsideWide ? newCols - 1 : newCols;
        lengths.push_back(length);
        used += length;
    }
    return lengths;
}

std::vector<int> Buffer::getLinesToRemove(int oldCols, int newCols, int bufferAbsoluteY, const CharData& nullChar)
{
    std::vector<int> toRemove;
    for (int y = 0; y < lines.count() - 1; ++y) {
        if (!lines[y + 1].isWrapped)
            continue;
        const std::vector<BufferLine*> group = collectGroup(lines, y);
        const int groupSize = static_cast<int>(group.size());
        if (bufferAbsoluteY >= y && bufferAbsoluteY < y + groupSize) {
            y += groupSize - 1;
            continue;
        }

        // Pull the cells of the following rows up into the wider rows.
        std::size_t destLine = 0;
        int destCol = wrappedLength(group, 0, oldCols);
        std::size_t sourceLine = 1;
        int sourceCol = 0;
        while (sourceLine < group.size()) {
            const int sourceLength = wrappedLength(group, sourceLine, oldCols);
            const int n = std::min(sourceLength - sourceCol, newCols - destCol);
            group[destLine]->resize(std::max(newCols, group[destLine]->count()), nullChar);
            group[destLine]->copyFrom(*group[sourceLine], sourceCol, destCol, n);
            destCol += n;
            if (destCol == newCols) {
                ++destLine;
                destCol = 0;
            }
            sourceCol += n;
            if (sourceCol == sourceLength) {
                ++sourceLine;
                sourceCol = 0;
            }
            // A wide character that landed in the last column moves on to the next row whole.
            if (destCol == 0 && destLine != 0 && group[destLine - 1]->getWidth(newCols - 1) == 2) {
                group[destLine]->resize(std::max(newCols, group[destLine]->count()), nullChar);
                group[destLine]->copyFrom(*group[destLine - 1], newCols - 1, destCol, 1);
                ++destCol;
                group[destLine - 1]->replaceCells(newCols - 1, newCols, nullChar);
            }
        }
        group[destLine]->resize(std::max(newCols, group[destLine]->count()), nullChar);
        group[destLine]->replaceCells(destCol, newCols, nullChar);

        int countToRemove = 0;
        for (int i = groupSize - 1; i > 0; --i) {
            if (i > static_cast<int>(destLine) || group[static_cast<std::size_t>(i)]->getTrimmedLength() == 0)
                ++countToRemove;
            else
                break;
        }
        if (countToRemove > 0) {
            toRemove.push_back(y + groupSize - countToRemove);
            toRemove.push_back(countToRemove);
        }
        y += groupSize - 1;
    }
    return toRemove;
}

void Buffer::reflowWider(int oldCols, int newCols, int newRows)
{
    const std::vector<int> toRemove = getLinesToRemove(oldCols, newCols, yBase + y_, CharData::Null);
    if (toRemove.empty())
        return;

    // One pass: keep every row not named by a (start, count) pair, in order; the removed rows go
    // past the new count, where the ring reuses them.
    std::vector<std::unique_ptr<BufferLine>> kept;
    std::vector<std::unique_ptr<BufferLine>> removed;
    kept.reserve(static_cast<std::size_t>(lines.count()));
    std::size_t pair = 0;
    for (int row = 0; row < lines.count(); ++row) {
        if (pair < toRemove.size() && row >= toRemove[pair] && row < toRemove[pair] + toRemove[pair + 1]) {
            removed.push_back(lines.take(row));
            if (row == toRemove[pair] + toRemove[pair + 1] - 1)
                pair += 2;
        } else {
            kept.push_back(lines.take(row));
        }
    }
    const int keptCount = static_cast<int>(kept.size());
    for (int row = 0; row < keptCount; ++row)
        lines.set(row, std::move(kept[static_cast<std::size_t>(row)]));
    for (std::size_t i = 0; i < removed.size(); ++i)
        lines.set(keptCount + static_cast<int>(i), std::move(removed[i]));
    lines.setCount(keptCount);

    const int removedCount = static_cast<int>(removed.size());
    for (int i = 0; i < removedCount; ++i) {
        if (yBase > 0) {
            if (yDisp_ == yBase)
                --yDisp_;
            --yBase;
        } else {
            if (y_ > 0)
                --y_;
            if (lines.count() < newRows)
                lines.push(std::make_unique<BufferLine>(newCols, CharData::Null));
        }
    }
    savedY = std::max(savedY - removedCount, 0);
}

void Buffer::reflowNarrower(int oldCols, int newCols, int newRows)
{
    std::vector<InsertionSet> toInsert;
    int countToInsert = 0;
    for (int y = lines.count() - 1; y >= 0; --y) {
        BufferLine* nextLine = &lines[y];
        if (!nextLine->isWrapped && nextLine->getTrimmedLength() <= newCols)
            continue;

        std::vector<BufferLine*> group {nextLine};
        while (nextLine->isWrapped && y > 0) {
            --y;
            nextLine = &lines[y];
            group.insert(group.begin(), nextLine);
        }
        const int groupSize = static_cast<int>(group.size());
        const int cursorRow = yBase + y_;
        if (cursorRow >= y && cursorRow < y + groupSize)
            continue;

        const int lastLineLength = group.back()->getTrimmedLength();
        std::vector<int> destLineLengths = getNewLineLengths(group, oldCols, newCols);
        if (destLineLengths.empty())
            continue;
        // Trailing empty rows of the group may need no room at the new width; they stay, empty.
        if (static_cast<int>(destLineLengths.size()) < groupSize)
            destLineLengths.resize(static_cast<std::size_t>(groupSize), 0);
        const int linesToAdd = static_cast<int>(destLineLengths.size()) - groupSize;

        int trimmedLines = yBase == 0 && y_ != lines.count() - 1 ? y_ - lines.maxLength() + linesToAdd
                                                                  : lines.count() - lines.maxLength() + linesToAdd;
        trimmedLines = std::max(trimmedLines, 0);

        if (linesToAdd > 0) {
            InsertionSet insertion;
            insertion.start = y + groupSize + countToInsert;
            for (int i = 0; i < linesToAdd; ++i) {
                // Only the first newCols cells of a new row are ever written.
                insertion.lines.push_back(std::make_unique<BufferLine>(newCols, CharData::Null, LineWrap::wrapped));
                group.push_back(insertion.lines.back().get());
            }
            countToInsert += linesToAdd;
            toInsert.push_back(std::move(insertion));
        }

        // Copy backwards so that cells move down the group without overwriting unread cells.
        int destLine = static_cast<int>(destLineLengths.size()) - 1;
        int destCol = destLineLengths[static_cast<std::size_t>(destLine)];
        while (destCol == 0 && destLine > 0) {
            --destLine;
            destCol = destLineLengths[static_cast<std::size_t>(destLine)];
        }
        int sourceLine = groupSize - 1;
        int sourceCol = lastLineLength;
        while (sourceLine >= 0 && destLine >= 0) {
            const int n = std::min(sourceCol, destCol);
            group[static_cast<std::size_t>(destLine)]->copyFrom(*group[static_cast<std::size_t>(sourceLine)], sourceCol - n, destCol - n, n);
            destCol -= n;
            while (destCol == 0 && destLine >= 0) {
                --destLine;
                if (destLine >= 0)
                    destCol = destLineLengths[static_cast<std::size_t>(destLine)];
            }
            sourceCol -= n;
            if (sourceCol == 0) {
                --sourceLine;
                const auto index = static_cast<std::size_t>(std::max(sourceLine, 0));
                sourceCol = wrappedLength(std::span(group).first(static_cast<std::size_t>(groupSize)), index, oldCols);
            }
        }

        // The column left empty before a wide character that moved down.
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (destLineLengths[i] < newCols)
                group[i]->setCell(destLineLengths[i], CharData::Null);
        }

        for (int i = 0; i < linesToAdd - trimmedLines; ++i) {
            if (yBase == 0) {
                if (y_ < newRows - 1) {
                    ++y_;
                    lines.setCount(lines.count() - 1);
                } else {
                    ++yBase;
                    ++yDisp_;
                }
            } else if (yBase < std::min(lines.maxLength(), lines.count() + countToInsert) - newRows) {
                if (yDisp_ == yBase)
                    ++yDisp_;
                ++yBase;
            }
        }
        savedY = std::min(savedY + linesToAdd, yBase + newRows - 1);
    }
    rearrange(toInsert, countToInsert);
}

void Buffer::rearrange(std::vector<InsertionSet>& toInsert, int countToInsert)
{
    if (toInsert.empty())
        return;
    const int originalCount = lines.count();
    std::vector<std::unique_ptr<BufferLine>> original;
    original.reserve(static_cast<std::size_t>(originalCount));
    for (int row = 0; row < originalCount; ++row)
        original.push_back(lines.take(row));
    lines.setCount(std::min(originalCount + countToInsert, lines.maxLength()));

    int originalIndex = originalCount - 1;
    std::size_t next = 0;
    int insertedSoFar = 0;
    for (int row = std::min(lines.maxLength() - 1, originalCount + countToInsert - 1); row >= 0; --row) {
        if (next < toInsert.size() && toInsert[next].start > originalIndex + insertedSoFar) {
            auto& inserted = toInsert[next].lines;
            for (auto line = inserted.rbegin(); line != inserted.rend(); ++line) {
                if (row >= 0)
                    lines.set(row, std::move(*line));
                --row;
            }
            ++row;
            insertedSoFar += static_cast<int>(inserted.size());
            ++next;
        } else if (originalIndex >= 0) {
            lines.set(row, std::move(original[static_cast<std::size_t>(originalIndex)]));
            --originalIndex;
        }
    }
}

} // namespace brevlin
