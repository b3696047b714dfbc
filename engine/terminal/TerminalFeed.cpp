#include "engine/terminal/Terminal.h"

#include <algorithm>
#include <unordered_set>

namespace brevlin {

void Terminal::feed(std::span<const std::uint8_t> data)
{
    if (synchronizedOutputActive_)
        expireSynchronizedOutputIfDue();
    parser->parse(data);
}

void Terminal::feed(std::string_view text)
{
    feed(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void Terminal::sendResponse(std::span<const std::uint8_t> bytes)
{
    if (tdel != nullptr)
        tdel->send(*this, bytes);
}

void Terminal::sendResponse(std::initializer_list<std::span<const std::uint8_t>> pieces)
{
    Bytes reply;
    for (std::span<const std::uint8_t> piece : pieces)
        reply.insert(reply.end(), piece.begin(), piece.end());
    sendResponse(std::span<const std::uint8_t>(reply));
}

void Terminal::sendResponse(std::string_view text)
{
    sendResponse(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void Terminal::updateRange(int y, RangeKind kind) { updateRange(*buffer_, y, kind); }

void Terminal::updateRange(const Buffer& target, int y, RangeKind kind)
{
    if (kind == RangeKind::content) {
        const int invariant = y + target.yDisp();
        if (invariant >= 0) {
            scrollInvariantRefreshStart = std::min(scrollInvariantRefreshStart, invariant);
            scrollInvariantRefreshEnd = std::max(scrollInvariantRefreshEnd, invariant);
        }
    }
    if (y >= 0) {
        refreshStart = std::min(refreshStart, y);
        refreshEnd = std::max(refreshEnd, y);
    }
}

void Terminal::refresh(int startRow, int endRow)
{
    updateRange(startRow);
    updateRange(endRow);
}

void Terminal::updateFullScreen()
{
    refreshStart = 0;
    refreshEnd = rows;
    scrollInvariantRefreshStart = buffer_->yDisp();
    scrollInvariantRefreshEnd = buffer_->yDisp() + rows;
}

std::optional<std::pair<int, int>> Terminal::getUpdateRange() const
{
    if (refreshEnd == -1 && refreshStart == INT32_MAX)
        return std::nullopt;
    return std::pair {refreshStart, refreshEnd};
}

std::optional<std::pair<int, int>> Terminal::getScrollInvariantUpdateRange() const
{
    if (scrollInvariantRefreshEnd == -1 && scrollInvariantRefreshStart == INT32_MAX)
        return std::nullopt;
    return std::pair {scrollInvariantRefreshStart, scrollInvariantRefreshEnd};
}

void Terminal::clearUpdateRange()
{
    refreshStart = INT32_MAX;
    refreshEnd = -1;
    scrollInvariantRefreshStart = INT32_MAX;
    scrollInvariantRefreshEnd = -1;
}

// Frees payload codes from the oldest up to the first one a cell still refers to; codes are
// never reused, so stopping there keeps the table's order simple.
void Terminal::garbageCollectPayload()
{
    if (payloadAtoms.lastCollected == payloadAtoms.lastUsed())
        return;
    std::unordered_set<std::uint16_t> inUse;
    for (const Buffer* each : {normalBuffer_.get(), altBuffer_.get()}) {
        for (int index = 0; index < each->lines.count(); ++index) {
            const BufferLine* line = each->lines.lineIfPresent(index);
            if (line == nullptr)
                continue;
            for (const CharData& cell : line->cells())
                if (cell.payload.code != 0)
                    inUse.insert(cell.payload.code);
        }
    }
    for (int code = payloadAtoms.lastCollected + 1; code <= payloadAtoms.lastUsed(); ++code) {
        if (inUse.contains(static_cast<std::uint16_t>(code)))
            break;
        payloadAtoms.lastCollected = static_cast<std::uint16_t>(code);
        payloadAtoms.release(static_cast<std::uint16_t>(code));
    }
}

} // namespace brevlin
