#include "engine/terminal/Terminal.h"

#include "engine/buffer/UnicodeUtil.h"
#include "engine/buffer/UnicodeWidthData.h"
#include "engine/buffer/Utf8.h"

#include <algorithm>

namespace brevlin {

namespace {

constexpr char32_t zeroWidthJoiner = 0x200D;
constexpr char32_t textPresentation = 0xFE0E;
constexpr char32_t emojiPresentation = 0xFE0F;

bool isPrintableAscii(std::uint8_t byte) { return byte >= 0x20 && byte < 0x7F; }
bool isRegionalIndicator(char32_t scalar) { return scalar >= 0x1F1E6 && scalar <= 0x1F1FF; }
bool isEmojiModifier(char32_t scalar) { return scalar >= 0x1F3FB && scalar <= 0x1F3FF; }
bool isVariationSelector(char32_t scalar)
{
    return (scalar >= 0xFE00 && scalar <= 0xFE0F) || (scalar >= 0xE0100 && scalar <= 0xE01EF);
}

// Extended pictographic scalars, as far as grapheme joining after a zero-width joiner needs them.
bool isPictographic(char32_t scalar)
{
    return scalar == 0xA9 || scalar == 0xAE || (scalar >= 0x203C && scalar <= 0x3299) || (scalar >= 0x1F000 && scalar <= 0x1FAFF);
}

bool hasEmojiVariation(char32_t scalar)
{
    const auto& table = UnicodeWidthData::emojiVs16Base;
    return UnicodeUtil::bisearch(scalar, table, static_cast<int>(table.size()) - 1) == 1;
}

// Whether appending `scalar` to `text` keeps one extended grapheme cluster, for the cases the
// joining path lets through: extenders, emoji zero-width-joiner sequences and flag pairs.
bool staysOneCluster(const std::u32string& text, char32_t scalar, int width)
{
    if (text.empty())
        return false;
    if (width == 0 || isEmojiModifier(scalar) || isVariationSelector(scalar) || scalar == zeroWidthJoiner)
        return true;
    if (text.back() == zeroWidthJoiner)
        return isPictographic(scalar);
    return isRegionalIndicator(scalar) && text.size() == 1 && isRegionalIndicator(text[0]);
}

// Sequence length of a UTF-8 lead byte, and whether `next` may follow it as its second byte.
bool validSecondByte(std::uint8_t leadClass, std::uint8_t next)
{
    switch (leadClass >> 4) {
    case 1: return next >= 0xA0 && next <= 0xBF; // after 0xE0: no overlong forms
    case 2: return next >= 0x80 && next <= 0x9F; // after 0xED: no surrogates
    case 3: return next >= 0x90 && next <= 0xBF; // after 0xF0: no overlong forms
    case 4: return next >= 0x80 && next <= 0x8F; // after 0xF4: nothing above U+10FFFF
    default: return next >= 0x80 && next <= 0xBF;
    }
}

} // namespace

void Terminal::handlePrint(ByteSpan data)
{
    if (!readingBuffer_.empty()) {
        // Finish the UTF-8 sequence the previous call left open before anything else.
        std::vector<std::uint8_t> joined = std::move(readingBuffer_);
        readingBuffer_.clear();
        joined.insert(joined.end(), data.begin(), data.end());
        printText(joined);
        return;
    }
    printText(data);
}

bool Terminal::asciiFastPathAllowed() const { return (charset == nullptr || charset->empty()) && !insertMode && !marginMode; }

// Places a run of printable ASCII in bulk, row by row, wrapping as printing one by one would.
void Terminal::placeAsciiRun(ByteSpan run)
{
    Buffer& b = *buffer_;
    std::size_t index = 0;
    while (index < run.size()) {
        if (b.x() >= cols) {
            if (wraparound)
                wrapToNextLine();
            else
                b.setX(cols - 1);
        }
        index += static_cast<std::size_t>(b.insertAsciiRun(run.subspan(index), curAttr));
        if (index < run.size() && !wraparound) {
            // Without auto-wrap every further byte lands on the last column: only the last one stays.
            b.setX(cols - 1);
            b.insertAsciiRun(run.last(1), curAttr);
            index = run.size();
        }
        updateRange(b.y());
    }
    lastPrintedCode_ = run.back();
}

// Decodes UTF-8 and prints each character; runs of printable ASCII take the bulk path, which
// stops at the first byte that is not printable ASCII, so decoding resumes exactly there.
void Terminal::printText(ByteSpan data)
{
    updateRange(buffer_->y());

    auto printSingleByte = [this](std::uint8_t byte, bool useCharset) {
        if (useCharset && byte < 0x7F && charset != nullptr && !charset->empty()) {
            if (auto mapped = charset->find(byte); mapped != charset->end() && !mapped->second.empty()) {
                const std::string& text = mapped->second;
                char32_t scalar = 0;
                const auto lead = static_cast<std::uint8_t>(text[0]);
                if (lead < 0x80)
                    scalar = lead;
                else if (lead < 0xE0)
                    scalar = ((lead & 0x1F) << 6) | (static_cast<std::uint8_t>(text[1]) & 0x3F);
                else
                    scalar = ((lead & 0x0F) << 12) | ((static_cast<std::uint8_t>(text[1]) & 0x3F) << 6)
                        | (static_cast<std::uint8_t>(text[2]) & 0x3F);
                insertCell(makeCharData(curAttr, code(std::u32string_view(&scalar, 1)), 1));
                return;
            }
        }
        const int width = UnicodeUtil::columnWidth(byte);
        if (width > 0)
            insertCell(makeCharData(curAttr, byte, width));
    };

    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t lead = data[i];
        if (isPrintableAscii(lead) && asciiFastPathAllowed()) {
            std::size_t runEnd = i + 1;
            while (runEnd < data.size() && isPrintableAscii(data[runEnd]))
                ++runEnd;
            placeAsciiRun(data.subspan(i, runEnd - i));
            i = runEnd;
            continue;
        }
        const std::uint8_t leadClass = UnicodeUtil::first[lead];
        if (leadClass == 0xF0 || leadClass == 0xF1) {
            printSingleByte(lead, true);
            ++i;
            continue;
        }
        const std::size_t length = leadClass & 0x0F;
        // Check what has arrived; an unfinished but so far valid sequence waits for the next call.
        bool valid = true;
        std::size_t available = std::min(length, data.size() - i);
        for (std::size_t k = 1; k < available && valid; ++k)
            valid = k == 1 ? validSecondByte(leadClass, data[i + 1]) : (data[i + k] >= 0x80 && data[i + k] <= 0xBF);
        if (!valid) {
            printSingleByte(lead, false);
            ++i;
            continue;
        }
        if (available < length) {
            readingBuffer_.assign(data.begin() + static_cast<std::ptrdiff_t>(i), data.end());
            break;
        }
        char32_t scalar = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            scalar = (scalar << 6) | (data[i + k] & 0x3F);
        i += length;
        printScalar(scalar, widths_.columnWidth(scalar));
    }
    updateRange(buffer_->y());
}

void Terminal::printScalar(char32_t scalar, int width)
{
    if (width < 0)
        return;
    if (joinLastCell(scalar, width))
        return;
    if (width == 0)
        return;
    insertCell(makeCharData(curAttr, code(std::u32string_view(&scalar, 1)), width));
}

bool Terminal::joinLastCell(char32_t scalar, int width)
{
    // Most scalars start a cell of their own: only extenders, flags and what follows a joiner
    // (which only an interned cell or U+200D itself can end with) need the last cell's text.
    const bool mayJoin = width == 0 || isEmojiModifier(scalar) || isVariationSelector(scalar) || scalar == zeroWidthJoiner
        || isRegionalIndicator(scalar);
    Buffer& b = *buffer_;
    const Buffer::LastBufferStorage& last = b.lastBufferStorage;
    if (!mayJoin) {
        const std::int32_t lastCode = lastPrintedCode_;
        if (lastCode < GraphemeTable::firstInternedCode && lastCode != static_cast<std::int32_t>(zeroWidthJoiner))
            return false;
    }
    if (last.cols != cols || last.rows != rows || last.y < 0 || last.y >= b.lines.count())
        return false;
    BufferLine& line = b.lines[last.y];
    if (line.count() == 0)
        return false;
    const int col = std::min({last.x, cols - 1, line.count() - 1});
    CharData cell = line[col];
    std::u32string text = character(cell.code);
    const bool candidate = width == 0 || isEmojiModifier(scalar) || isVariationSelector(scalar) || scalar == zeroWidthJoiner
        || text.back() == zeroWidthJoiner || (isRegionalIndicator(scalar) && text.size() == 1 && isRegionalIndicator(text[0]));
    if (!candidate || cell.code == 0 || !staysOneCluster(text, scalar, width))
        return false;

    const char32_t base = text.back();
    text.push_back(scalar);
    if (scalar == emojiPresentation) {
        if (!hasEmojiVariation(base))
            return true;
        cell.code = code(text);
        if (cell.width != 2 && col + 1 < cols) {
            cell.width = 2;
            CharData continuation = cell;
            continuation.setValue(0, 0);
            line.setCell(col + 1, continuation);
            b.setX(b.x() + 1);
        }
    } else if (scalar == textPresentation) {
        if (!hasEmojiVariation(base))
            return true;
        cell.code = code(text);
        if (cell.width == 2)
            b.setX(std::max(b.x() - 1, 0));
        cell.width = 1;
    } else {
        cell.code = code(text);
    }
    line.setCell(col, cell);
    lastPrintedCode_ = cell.code;
    updateRange(last.y - b.yBase);
    return true;
}

// Puts one cell at the cursor: wraps at the right edge (the right margin when the cursor is
// within the margins), shifts the row in insert mode, and moves a wide character that does not
// fit in the last column to the next row, leaving that column empty.
void Terminal::insertCell(const CharData& cell)
{
    Buffer& b = *buffer_;
    const int width = cell.width;
    const bool withinMargins = marginMode && b.x() >= b.marginLeft && b.x() <= b.marginRight + 1;
    const int right = withinMargins ? b.marginRight : cols - 1;
    if (b.x() + width - 1 > right) {
        if (wraparound) {
            if (b.x() == right && width > 1) {
                BufferLine& line = b.lines[b.yBase + b.y()];
                line.setCell(right, makeCharData(curAttr, 0, 1));
            }
            wrapToNextLine();
        } else {
            b.setX(std::max(right - width + 1, withinMargins ? b.marginLeft : 0));
        }
    }
    if (insertMode) {
        BufferLine& line = b.lines[b.yBase + b.y()];
        line.insertCells(b.x(), width, right, eraseCell());
    }
    b.insertCharacter(cell);
    lastPrintedCode_ = cell.code;
}

void Terminal::wrapToNextLine()
{
    Buffer& b = *buffer_;
    const bool withinMargins = marginMode && b.x() >= b.marginLeft;
    if (b.y() == b.scrollBottom()) {
        scroll(LineWrap::wrapped);
    } else if (b.y() < rows - 1) {
        b.setY(b.y() + 1);
        b.lines[b.yBase + b.y()].isWrapped = true;
    }
    b.setX(withinMargins ? b.marginLeft : 0);
    updateRange(b.y());
}

} // namespace brevlin
