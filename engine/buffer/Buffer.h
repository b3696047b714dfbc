#pragma once

#include "engine/buffer/Attribute.h"
#include "engine/buffer/BufferLine.h"
#include "engine/buffer/CharData.h"
#include "engine/buffer/CharacterSetTable.h"
#include "engine/buffer/CircularBufferLineList.h"
#include "engine/buffer/LineWrap.h"
#include "engine/buffer/Position.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace brevlin {

// Which column bounds a forward tab.
enum class TabStopLimit { lastColumn, rightMargin };

// One screen of a terminal (the normal screen with scrollback, or the alternate screen without):
// the ring of rows, the cursor, the scroll region, the margins, the tab stops and the saved cursor.
//
// Buffer rows count from the oldest scrollback row. `yBase` is the buffer row of screen row 0, the
// cursor (`x`, `y`) is screen-relative, and `yDisp` is the buffer row at the top of the viewport.
class Buffer {
public:
    // Where the last character was written: buffer row, column, and the size at the time.
    struct LastBufferStorage {
        int y = 0;
        int x = 0;
        int cols = 0;
        int rows = 0;
    };

    Buffer(int cols, int rows, int tabStopWidth, std::optional<int> scrollback);
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    CircularBufferLineList lines;

    // Cursor, viewport and scroll region. The setters ignore negative values.
    int x() const { return x_; }
    void setX(int value);
    int y() const { return y_; }
    void setY(int value);
    int yDisp() const { return yDisp_; }
    void setYDisp(int value);
    int scrollTop() const { return scrollTop_; }
    void setScrollTop(int value);
    int scrollBottom() const { return scrollBottom_; }
    void setScrollBottom(int value);
    int yBase = 0;

    // Kept for the front end; the buffer's own operations do not read them.
    int xDisp = 0;
    int xBase = 0;
    // Count of rows that have left the top of a full ring.
    int linesTop = 0;

    int marginLeft = 0;
    int marginRight = 0;
    std::vector<bool> tabStops;

    // State saved by the save-cursor command.
    int savedX = 0;
    int savedY = 0;
    Attribute savedAttr;
    const CharacterSetTable* savedCharset = nullptr;
    bool savedOriginMode = false;
    bool savedMarginMode = false;
    bool savedWraparound = false;
    bool savedReverseWraparound = false;

    // The terminal's modes as they apply to this screen; the terminal keeps them in step.
    bool marginMode = false;
    bool insertMode = false;
    bool wraparound = false;

    // Installed by the terminal: scroll the region up one row, the new bottom row wrapped or not.
    std::function<void(LineWrap)> scroll;

    LastBufferStorage lastBufferStorage;

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    std::optional<int> scrollback() const { return scrollback_; }
    bool hasScrollback() const { return scrollback_.has_value(); }
    bool isReflowEnabled() const { return hasScrollback(); }
    int linesWithImagesCount() const { return linesWithImagesCount_; }
    bool hasAnyImages() const { return linesWithImagesCount_ > 0; }
    // Whether the cursor row is inside the viewport.
    bool isCursorInViewPort() const;

    // Ring capacity for `rows` screen rows: rows plus scrollback, at most INT32_MAX.
    int getCorrectBufferLength(int rows) const;
    std::unique_ptr<BufferLine> getBlankLine(const Attribute& attribute, LineWrap wrap = LineWrap::unwrapped) const;
    // A space with the attribute (Attribute::empty when none is given).
    static CharData getNullCell(std::optional<Attribute> attribute = std::nullopt);
    // Fills an empty ring with `rows` blank rows (default colours when no attribute is given).
    void fillViewportRows(std::optional<Attribute> attribute = std::nullopt);
    // The cell at a viewport position, or CharData::Null off the row.
    const CharData& getChar(Position position) const;
    // The cell at a buffer position, or CharData::Null off the row.
    const CharData& getCharAtBufferRelative(Position position) const;

    // Writes one cell at the cursor and advances it; a wide character that does not fit is dropped.
    void insertCharacter(const CharData& cell);
    // Writes one-column bytes at the cursor up to the end of the row; returns how many it wrote.
    int insertAsciiRun(std::span<const std::uint8_t> bytes, const Attribute& attribute);

    // Empties the ring and homes the cursor and viewport; tab stops, margins and saved state stay.
    void clear();
    void softReset();
    void changeHistorySize(std::optional<int> scrollback);

    void setupTabStops(int index, int tabStopWidth);
    int previousTabStop(int index = -1) const;
    int nextTabStop(TabStopLimit limit, int index = -1) const;

    void attachImage(std::shared_ptr<TerminalImage> image, int lineIndex);
    void clearImagesFromLine(int lineIndex);
    void recalculateLinesWithImagesCount();

    // Changes the size; a buffer with scrollback reflows soft-wrapped lines to the new width.
    void resize(int newCols, int newRows);

    // Length of a row's text for reflow: a full row unless its last column was left empty
    // because the wide character that did not fit there moved to the next row.
    static int getWrappedLineTrimmedLength(const BufferLine& line, const BufferLine* nextLine, int cols);
    // Row lengths of a logical line laid out at `newCols`; a row is one shorter where a wide
    // character would straddle its right edge.
    static std::vector<int> getNewLineLengths(std::span<BufferLine* const> wrappedLines, int oldCols, int newCols);

private:
    // Rows created by narrowing, waiting to be laid into the ring in one pass.
    struct InsertionSet {
        std::vector<std::unique_ptr<BufferLine>> lines;
        int start = 0;
    };

    std::vector<int> getLinesToRemove(int oldCols, int newCols, int bufferAbsoluteY, const CharData& nullChar);
    void rearrange(std::vector<InsertionSet>& toInsert, int countToInsert);
    void installLineCallbacks();
    void dropOldestLines(int count);
    void resizeAllLines(int newCols);
    void reflowWider(int oldCols, int newCols, int newRows);
    void reflowNarrower(int oldCols, int newCols, int newRows);
    void keepCursorOnItsRow(const BufferLine* cursorLine, int newCols, int newRows);

    int x_ = 0;
    int y_ = 0;
    int yDisp_ = 0;
    int scrollTop_ = 0;
    int scrollBottom_ = 0;
    int cols_ = 0;
    int rows_ = 0;
    std::optional<int> scrollback_;
    int linesWithImagesCount_ = 0;
};

} // namespace brevlin
