#include "BufferTestText.h"

namespace brevlin::testing {

namespace {

constexpr char32_t wideCharacter = U'\u4E00';

CharData cellFor(char symbol)
{
    if (symbol == '.')
        return CharData::Null;
    if (symbol == 'W')
        return CharData {static_cast<std::int32_t>(wideCharacter), 2, {}, {}};
    return CharData {symbol, 1, {}, {}};
}

std::string trimRight(std::string text)
{
    while (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

// Scrolls the whole screen up one row, recycling the oldest row on a full ring.
void scrollUp(Buffer& buffer, LineWrap wrap)
{
    if (buffer.lines.isFull()) {
        buffer.lines.recycle(CharData::Null.attribute);
        buffer.lines[buffer.lines.count() - 1].isWrapped = wrap == LineWrap::wrapped;
    } else {
        buffer.lines.push(buffer.getBlankLine(CharData::Null.attribute, wrap));
        ++buffer.yBase;
    }
    buffer.setYDisp(buffer.yBase);
}

void wrapToNextRow(Buffer& buffer)
{
    buffer.setX(0);
    if (buffer.y() == buffer.rows() - 1) {
        scrollUp(buffer, LineWrap::wrapped);
    } else {
        buffer.setY(buffer.y() + 1);
        buffer.lines[buffer.yBase + buffer.y()].isWrapped = true;
    }
}

} // namespace

BufferLine lineFromText(std::string_view text, int cols)
{
    BufferLine line(cols);
    int col = 0;
    for (char symbol : text) {
        if (col >= cols)
            break;
        const CharData cell = cellFor(symbol);
        line.setCell(col++, cell);
        if (cell.width == 2 && col < cols)
            line.setCell(col++, CharData {0, 0, {}, {}});
    }
    return line;
}

std::string textOfLine(const BufferLine& line)
{
    std::string text;
    for (const CharData& cell : line.cells()) {
        if (cell.width == 0)
            text += '_';
        else if (cell.code == 0)
            text += '.';
        else if (cell.code == static_cast<std::int32_t>(wideCharacter))
            text += 'W';
        else
            text += static_cast<char>(cell.code);
    }
    return text;
}

std::vector<std::string> screenText(Buffer& buffer)
{
    std::vector<std::string> rows;
    for (int row = 0; row < buffer.rows(); ++row)
        rows.push_back(trimRight(textOfLine(buffer.lines[buffer.yBase + row])));
    return rows;
}

std::vector<std::string> logicalLines(Buffer& buffer)
{
    std::vector<std::string> result;
    std::string current;
    for (int row = 0; row < buffer.lines.count(); ++row) {
        const BufferLine& line = buffer.lines[row];
        if (!line.isWrapped && row > 0) {
            result.push_back(trimRight(current));
            current.clear();
        }
        // A row that ends early because its wide character moved on contributes no padding.
        const BufferLine* next = row + 1 < buffer.lines.count() ? &buffer.lines[row + 1] : nullptr;
        std::string text = textOfLine(line);
        if (next && next->isWrapped)
            text.resize(static_cast<std::size_t>(Buffer::getWrappedLineTrimmedLength(line, next, line.count())));
        current += text;
    }
    result.push_back(trimRight(current));
    return result;
}

void printText(Buffer& buffer, std::string_view text)
{
    for (char symbol : text) {
        const CharData cell = cellFor(symbol);
        if (buffer.x() + cell.width > buffer.cols())
            wrapToNextRow(buffer);
        buffer.insertCharacter(cell);
    }
}

void newLine(Buffer& buffer)
{
    buffer.setX(0);
    if (buffer.y() == buffer.rows() - 1)
        scrollUp(buffer, LineWrap::unwrapped);
    else
        buffer.setY(buffer.y() + 1);
}

} // namespace brevlin::testing
