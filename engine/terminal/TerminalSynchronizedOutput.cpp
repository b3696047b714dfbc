#include "engine/terminal/Terminal.h"

namespace brevlin {

bool Terminal::isDisplayBufferAlternate() const
{
    return synchronizedOutputBuffer_ ? synchronizedOutputBufferIsAlternate_ : isCurrentBufferAlternate();
}

void Terminal::beginSynchronizedOutput()
{
    if (!synchronizedOutputActive_) {
        synchronizedOutputActive_ = true;
        synchronizedOutputBuffer_ = snapshotBuffer(*buffer_);
        synchronizedOutputBufferIsAlternate_ = isCurrentBufferAlternate();
        scheduleSynchronizedOutputTimeout();
        if (tdel != nullptr)
            tdel->synchronizedOutputChanged(*this, true);
        return;
    }
    if (!synchronizedOutputBuffer_) {
        synchronizedOutputBuffer_ = snapshotBuffer(*buffer_);
        synchronizedOutputBufferIsAlternate_ = isCurrentBufferAlternate();
    }
    scheduleSynchronizedOutputTimeout();
}

// The deadline is the one source of truth: an executor task that fires for an older deadline
// (the program extended the burst since) finds it not yet due and does nothing.
void Terminal::scheduleSynchronizedOutputTimeout()
{
    synchronizedOutputDeadline_ = std::chrono::steady_clock::now() + synchronizedOutputTimeout;
    if (executor_ == nullptr)
        return;
    std::weak_ptr<Terminal*> weakSelf = self_;
    executor_->runAfter(synchronizedOutputTimeout, [weakSelf] {
        std::shared_ptr<Terminal*> self = weakSelf.lock();
        if (self && *self != nullptr)
            (*self)->expireSynchronizedOutputIfDue();
    });
}

void Terminal::expireSynchronizedOutputIfDue()
{
    if (synchronizedOutputActive_ && std::chrono::steady_clock::now() >= synchronizedOutputDeadline_)
        endSynchronizedOutput();
}

void Terminal::endSynchronizedOutput()
{
    if (!synchronizedOutputActive_)
        return;
    synchronizedOutputActive_ = false;
    synchronizedOutputBuffer_.reset();
    synchronizedOutputBufferIsAlternate_ = false;
    updateRange(0);
    updateRange(rows - 1);
    if (tdel != nullptr)
        tdel->synchronizedOutputChanged(*this, false);
}

// The frozen copy holds only the rows on display (from the viewport top), not the scrollback:
// a burst costs one screenful of copying however long the history is.
std::unique_ptr<Buffer> Terminal::snapshotBuffer(const Buffer& source) const
{
    auto copy = std::make_unique<Buffer>(source.cols(), source.rows(), tabStopWidth, std::nullopt);
    const int top = source.yDisp();
    for (int row = 0; row < source.rows(); ++row) {
        const int index = top + row;
        if (index < source.lines.count())
            copy->lines.push(std::make_unique<BufferLine>(source.lines[index]));
        else
            copy->lines.push(source.getBlankLine(Attribute()));
    }
    copy->xDisp = source.xDisp;
    copy->xBase = source.xBase;
    copy->linesTop = source.linesTop + top;
    copy->setX(source.x());
    copy->setY(source.yBase + source.y() - top);
    copy->setScrollTop(source.scrollTop());
    copy->setScrollBottom(source.scrollBottom());
    copy->tabStops = source.tabStops;
    copy->savedX = source.savedX;
    copy->savedY = source.savedY;
    copy->savedOriginMode = source.savedOriginMode;
    copy->savedMarginMode = source.savedMarginMode;
    copy->savedWraparound = source.savedWraparound;
    copy->savedReverseWraparound = source.savedReverseWraparound;
    copy->marginLeft = source.marginLeft;
    copy->marginRight = source.marginRight;
    copy->savedAttr = source.savedAttr;
    copy->savedCharset = source.savedCharset;
    return copy;
}

} // namespace brevlin
