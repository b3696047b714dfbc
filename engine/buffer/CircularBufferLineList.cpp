#include "engine/buffer/CircularBufferLineList.h"

#include "engine/buffer/Diagnostics.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace brevlin {

CircularBufferLineList::CircularBufferLineList(int maxLength)
    : maxLength_(std::max(maxLength, 1))
{
}

void CircularBufferLineList::reserveSlots(int needed) const
{
    const int allocated = static_cast<int>(slots_.size());
    if (needed <= allocated || allocated == maxLength_)
        return;
    const auto grown = std::min<std::int64_t>(maxLength_, std::max<std::int64_t>({needed, std::int64_t {allocated} * 2, 64}));
    std::vector<std::unique_ptr<BufferLine>> relaid(static_cast<std::size_t>(grown));
    for (int i = 0; i < allocated; ++i)
        relaid[static_cast<std::size_t>(i)] = std::move(slots_[static_cast<std::size_t>((startIndex_ + i) % allocated)]);
    slots_ = std::move(relaid);
    startIndex_ = 0;
}

void CircularBufferLineList::advanceStart(int n)
{
    if (!slots_.empty())
        startIndex_ = (startIndex_ + n) % static_cast<int>(slots_.size());
}

int CircularBufferLineList::slotOf(int index) const
{
    // Slots grow only for indexes inside the capacity; any other index wraps around the slots
    // there are, so a stray index can never make the ring allocate its whole capacity.
    if (index >= static_cast<int>(slots_.size()) && index < maxLength_)
        reserveSlots(index + 1);
    if (slots_.empty())
        reserveSlots(1);
    const auto slotCount = static_cast<std::int64_t>(slots_.size());
    const auto slot = (std::int64_t {startIndex_} + index) % slotCount;
    return static_cast<int>(slot < 0 ? slot + slotCount : slot);
}

std::unique_ptr<BufferLine>& CircularBufferLineList::slotAt(int index) const
{
    const int slot = slotOf(index);
    return slots_[static_cast<std::size_t>(slot)];
}

void CircularBufferLineList::swapRows(int a, int b)
{
    std::swap(slotAt(a), slotAt(b));
}

void CircularBufferLineList::setCount(int count)
{
    BREVLIN_DEBUG_ASSERT(count <= maxLength_);
    count_ = std::clamp(count, 0, maxLength_);
    reserveSlots(count_);
}

void CircularBufferLineList::setMaxLength(int maxLength)
{
    maxLength = std::max(maxLength, 1);
    if (maxLength == maxLength_)
        return;
    const int kept = std::min(static_cast<int>(slots_.size()), maxLength);
    std::vector<std::unique_ptr<BufferLine>> relaid(static_cast<std::size_t>(kept));
    for (int i = 0; i < kept; ++i)
        relaid[static_cast<std::size_t>(i)] = std::move(slotAt(i));
    slots_ = std::move(relaid);
    startIndex_ = 0;
    maxLength_ = maxLength;
    BREVLIN_DEBUG_ASSERT(count_ <= maxLength_);
    count_ = std::min(count_, maxLength_);
}

BufferLine& CircularBufferLineList::createLine(int index) const
{
    std::unique_ptr<BufferLine>& slot = slotAt(index);
    if (!slot) {
        BREVLIN_DEBUG_ASSERT(makeEmpty);
        slot = makeEmpty ? makeEmpty(slotOf(index)) : std::make_unique<BufferLine>(0);
    }
    return *slot;
}

const BufferLine* CircularBufferLineList::lineIfPresent(int index) const
{
    return slotAt(index).get();
}

void CircularBufferLineList::set(int index, std::unique_ptr<BufferLine> line)
{
    slotAt(index) = std::move(line);
}

std::unique_ptr<BufferLine> CircularBufferLineList::take(int index)
{
    lineAt(index);
    return std::move(slotAt(index));
}

void CircularBufferLineList::push(std::unique_ptr<BufferLine> line)
{
    const bool hasImages = line && line->images.has_value();
    slotAt(count_) = std::move(line);
    if (count_ < maxLength_)
        ++count_;
    else
        advanceStart(1);
    if (onLinePushed)
        onLinePushed(hasImages);
}

void CircularBufferLineList::recycle(const Attribute& clearAttribute)
{
    if (!isFull()) {
        printDiagnostic("can only recycle when the buffer is full");
        BREVLIN_DEBUG_ASSERT(!"recycle on a ring that is not full");
        return;
    }
    BufferLine& line = (*this)[0];
    advanceStart(1);
    const bool hadImages = line.images.has_value();
    line.clear(clearAttribute);
    // The next row to recycle is the coldest in the ring: start fetching it now.
    if (const BufferLine* next = lineIfPresent(0))
        next->prefetchForWrite();
    if (onLineRecycled)
        onLineRecycled(hadImages);
}

void CircularBufferLineList::splice(int start, int deleteCount, std::vector<std::unique_ptr<BufferLine>> items, const ChangeHook& change)
{
    start = std::clamp(start, 0, count_);
    if (deleteCount > 0) {
        deleteCount = std::min(deleteCount, count_ - start);
        for (int i = start; i < count_ - deleteCount; ++i) {
            swapRows(i, i + deleteCount);
            if (change)
                change(i);
        }
        count_ -= deleteCount;
    }

    const int n = static_cast<int>(items.size());
    if (n == 0)
        return;
    // Rows that move past the capacity wrap onto the oldest slots, which must all exist by then.
    reserveSlots(std::min(count_ + n, maxLength_));
    const int overflow = std::max(count_ + n - maxLength_, 0);
    for (int i = count_ - 1; i >= start; --i) {
        if (change)
            change(i + n);
    }
    for (int k = 0; k < n; ++k) {
        if (change)
            change(start + k);
    }

    if (n <= maxLength_ && start >= overflow) {
        // The rows that fall off the top are the ones the shift wraps onto; items replace them.
        for (int i = count_ - 1; i >= start; --i)
            swapRows(i + n, i);
        for (int k = 0; k < n; ++k)
            slotAt(start + k) = std::move(items[static_cast<std::size_t>(k)]);
        advanceStart(overflow);
        count_ += n - overflow;
        return;
    }

    // The insertion itself reaches past the top: lay out the surviving rows afresh.
    std::vector<std::unique_ptr<BufferLine>> all;
    all.reserve(static_cast<std::size_t>(count_ + n));
    for (int i = 0; i < start; ++i)
        all.push_back(std::move(slotAt(i)));
    for (auto& item : items)
        all.push_back(std::move(item));
    for (int i = start; i < count_; ++i)
        all.push_back(std::move(slotAt(i)));
    const int dropped = static_cast<int>(all.size()) - maxLength_;
    for (int j = 0; j < maxLength_; ++j)
        slotAt(j) = std::move(all[static_cast<std::size_t>(dropped + j)]);
    count_ = maxLength_;
}

bool CircularBufferLineList::shiftElements(int start, int count, int offset)
{
    const auto refuse = [&](const char* reason) {
        printDiagnostic("Assertion at start=" + std::to_string(start) + " count=" + std::to_string(count)
            + " offset=" + std::to_string(offset) + ": " + reason);
        return false;
    };
    if (count < 0)
        return refuse("count < 0");
    if (start < 0)
        return refuse("start < 0");
    if (start >= count_)
        return refuse("start >= self.count");
    if (start + offset <= 0)
        return refuse("start+offset <= 0");

    if (offset > 0) {
        reserveSlots(static_cast<int>(std::min<std::int64_t>(std::int64_t {start} + count + offset, maxLength_)));
        for (int i = count - 1; i >= 0; --i)
            swapRows(start + i + offset, start + i);
        const int end = start + count + offset;
        if (end > count_) {
            if (end <= maxLength_) {
                count_ = end;
            } else {
                advanceStart(end - maxLength_);
                count_ = maxLength_;
            }
        }
    } else {
        for (int i = 0; i < count; ++i)
            swapRows(start + i + offset, start + i);
    }
    return true;
}

void CircularBufferLineList::trimStart(int n)
{
    n = std::clamp(n, 0, count_);
    advanceStart(n);
    count_ -= n;
}

void CircularBufferLineList::releaseRowsPastCount()
{
    for (int index = count_; index < static_cast<int>(slots_.size()); ++index)
        slotAt(index).reset();
}

} // namespace brevlin
