#pragma once

#include "engine/buffer/CharData.h"
#include "engine/buffer/LineWrap.h"
#include "engine/buffer/TerminalImage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brevlin {

// Which columns of a row BufferLine::translateToString turns into text.
struct TranslateOptions {
    bool trimRight = false;
    int startCol = 0;
    int endCol = -1; // -1: up to the end of the row
    // Skip the empty continuation cell after a wide character.
    bool skipNullCellsFollowingWide = false;
};

// One row of a screen or of the scrollback: contiguous cells, the soft-wrap flag, the DEC line
// rendition and the images anchored on the row.
class BufferLine {
public:
    enum class RenderLineMode : std::uint8_t { single, doubleWidth, doubledTop, doubledDown };
    using ImageList = std::vector<std::shared_ptr<TerminalImage>>;
    // Turns a cell into the text it shows; used for interned codes, which only the terminal knows.
    using CharacterProvider = std::function<std::string(const CharData&)>;

    explicit BufferLine(int cols, const CharData& fillData = CharData::Null, LineWrap wrap = LineWrap::unwrapped);

    bool isWrapped = false;
    RenderLineMode renderMode = RenderLineMode::single;
    // Absent and empty differ: attaching creates the list, and removals set it absent when emptied.
    std::optional<ImageList> images;

    int count() const { return static_cast<int>(cells_.size()); }
    const CharData& fillCharacter() const { return fillCharacter_; }

    // Reads clamp an index past the end to the last cell.
    const CharData& operator[](int index) const;
    // Writes past the end go to the last cell, with a warning: the caller has a bug.
    void setCell(int index, const CharData& cell);
    int getWidth(int index) const { return (*this)[index].width; }
    std::vector<CharData> getData() const { return cells_; }
    // Direct access for bulk writers; the span is invalidated by resize and copyFrom.
    std::span<CharData> cells() { return cells_; }
    std::span<const CharData> cells() const { return cells_; }

    // Takes over the other row's cells and wrap flag, reusing this row's storage when it is large enough.
    void copyFrom(const BufferLine& line);
    // Copies `length` cells; overlap-safe when `source` is this row. Ranges are cut to both rows.
    void copyFrom(const BufferLine& source, int sourceCol, int destinationCol, int length);

    void resize(int cols, const CharData& fillData);
    void fill(const CharData& cell);
    void fill(const CharData& cell, int atCol, int length);
    void replaceCells(int start, int end, const CharData& fillData);
    // Blanks every cell with the attribute and drops the images; wrap flag and rendition stay.
    void clear(const Attribute& attribute);
    void insertCells(int position, int n, int rightMargin, const CharData& fillData);
    void deleteCells(int position, int n, int rightMargin, const CharData& fillData);

    // Index past the last cell with a code, counting a trailing wide character as two.
    int getTrimmedLength() const;
    bool hasContent(int index) const;
    bool hasAnyContent() const;
    std::string translateToString(const TranslateOptions& options = {}, const CharacterProvider& characterProvider = {}) const;
    std::string debugDescription() const;

    void attach(std::shared_ptr<TerminalImage> image);
    // Hints the processor to bring the cells into cache ahead of a rewrite.
    void prefetchForWrite() const;

private:
    std::vector<CharData> cells_;
    CharData fillCharacter_;
};

} // namespace brevlin
