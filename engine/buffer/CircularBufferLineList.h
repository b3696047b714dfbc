#pragma once

#include "engine/buffer/Attribute.h"
#include "engine/buffer/BufferLine.h"

#include <functional>
#include <memory>
#include <vector>

namespace brevlin {

// The rows of a buffer, screen and scrollback, in one fixed-capacity ring. Logical index 0 is the
// oldest row kept. A slot that never held a row is filled on first access by `makeEmpty`.
//
// Every slot owns its row, so no row is ever reachable from two indexes: operations that move
// rows (splice, shiftElements) exchange slots, and rows they overwrite end up in the slots they
// vacate or beyond `count`, where later pushes and splices reuse them.
class CircularBufferLineList {
public:
    using LineFactory = std::function<std::unique_ptr<BufferLine>(int slot)>;
    using ChangeHook = std::function<void(int index)>;

    explicit CircularBufferLineList(int maxLength);

    LineFactory makeEmpty;
    // Told whether the recycled row had images.
    std::function<void(bool hadImages)> onLineRecycled;
    // Told whether the pushed row has images.
    std::function<void(bool hasImages)> onLinePushed;

    int count() const { return count_; }
    // Raising the count exposes the rows already in those slots (created on first access).
    void setCount(int count);
    int maxLength() const { return maxLength_; }
    // Re-lays the slots in logical order from slot 0; rows past the new capacity are dropped.
    void setMaxLength(int maxLength);
    int startIndex() const { return startIndex_; }
    bool isFull() const { return count_ == maxLength_; }

    BufferLine& operator[](int index) { return lineAt(index); }
    const BufferLine& operator[](int index) const { return lineAt(index); }
    // The row at the index when its slot holds one; never creates a row.
    const BufferLine* lineIfPresent(int index) const;
    void set(int index, std::unique_ptr<BufferLine> line);
    // Moves the row out of its slot (creating it first when the slot is empty); the slot is left empty.
    std::unique_ptr<BufferLine> take(int index);

    // Appends a row; on a full ring the oldest row is dropped.
    void push(std::unique_ptr<BufferLine> line);
    // On a full ring, turns the oldest row into the newest and clears it; no allocation.
    // A ring that is not full is left alone: the caller should have pushed.
    void recycle(const Attribute& clearAttribute);
    // Removes `deleteCount` rows at `start`, then inserts `items` there; on overflow the oldest
    // rows fall off the top. `change` hears every index whose row changed.
    void splice(int start, int deleteCount, std::vector<std::unique_ptr<BufferLine>> items, const ChangeHook& change = {});
    // Moves rows start..start+count-1 by `offset`; refuses (with a printed reason) invalid moves.
    bool shiftElements(int start, int count, int offset);
    // Drops the `n` oldest rows.
    void trimStart(int n);
    // Frees the rows kept in slots past the count; those slots fill again on demand.
    void releaseRowsPastCount();
    // Visits every row the ring holds, counted or not, in no particular order.
    template <typename Visitor>
    void forEachStoredLine(Visitor&& visit)
    {
        for (auto& slot : slots_) {
            if (slot)
                visit(*slot);
        }
    }

private:
    // Slots are allocated as the ring fills, so a large capacity costs nothing until it is used.
    void reserveSlots(int needed) const;
    int slotOf(int index) const;
    void advanceStart(int n);
    std::unique_ptr<BufferLine>& slotAt(int index) const;
    void swapRows(int a, int b);
    // Every row access of the terminal comes through here: the common case is inline and
    // divides nothing.
    BufferLine& lineAt(int index) const
    {
        const int allocated = static_cast<int>(slots_.size());
        if (index >= 0 && index < allocated) {
            int slot = startIndex_ + index;
            if (slot >= allocated)
                slot -= allocated;
            if (BufferLine* line = slots_[static_cast<std::size_t>(slot)].get())
                return *line;
        }
        return createLine(index);
    }
    BufferLine& createLine(int index) const;

    // Slots are filled lazily, also from const reads: an untouched slot reads as an empty row.
    mutable std::vector<std::unique_ptr<BufferLine>> slots_;
    mutable int startIndex_ = 0;
    int count_ = 0;
    int maxLength_ = 0;
};

} // namespace brevlin
