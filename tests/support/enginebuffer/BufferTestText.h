#pragma once

#include "engine/buffer/Buffer.h"
#include "engine/buffer/BufferLine.h"

#include <string>
#include <string_view>
#include <vector>

namespace brevlin::testing {

// Test notation for rows: one character per cell, '.' for an empty cell. An upper-case 'W'
// stands for a wide character: it takes two cells (the second a continuation cell).
BufferLine lineFromText(std::string_view text, int cols);
// The row in the same notation, with wide characters shown as "W" followed by "_".
std::string textOfLine(const BufferLine& line);
// The screen rows of a buffer, trailing empty cells trimmed.
std::vector<std::string> screenText(Buffer& buffer);
// Every logical line of the buffer (rows joined across soft wraps), trailing empty cells trimmed.
std::vector<std::string> logicalLines(Buffer& buffer);
// Prints `text` at the cursor the way a terminal with auto-wrap does: wide characters that do
// not fit wrap whole, and a row that overflows continues on a wrapped row.
void printText(Buffer& buffer, std::string_view text);
// Moves the cursor to the start of the next row, scrolling the buffer when it is at the bottom.
void newLine(Buffer& buffer);

} // namespace brevlin::testing
