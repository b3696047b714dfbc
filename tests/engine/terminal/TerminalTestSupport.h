#pragma once

#include "engine/terminal/Terminal.h"

#include <string>
#include <vector>

namespace brevlin::testing_support {

// Records what a terminal tells its front end.
class RecordingDelegate : public TerminalDelegate {
public:
    void send(Terminal&, std::span<const std::uint8_t> data) override { replies.emplace_back(data.begin(), data.end()); }
    void setTerminalTitle(Terminal&, const std::string& title) override { titles.push_back(title); }
    void bell(Terminal&) override { ++bells; }
    void scrolled(Terminal&, int) override { ++scrolls; }
    void synchronizedOutputChanged(Terminal&, bool active) override { synchronizedOutput.push_back(active); }
    void setForegroundColor(Terminal& source, const Color& color) override
    {
        ++foregroundCalls;
        TerminalDelegate::setForegroundColor(source, color);
    }
    void colorChanged(Terminal&, std::optional<int> idx) override { colorChanges.push_back(idx); }

    std::string allReplies() const
    {
        std::string out;
        for (const auto& reply : replies)
            out.append(reply.begin(), reply.end());
        return out;
    }

    std::vector<std::vector<std::uint8_t>> replies;
    std::vector<std::string> titles;
    std::vector<bool> synchronizedOutput;
    std::vector<std::optional<int>> colorChanges;
    int bells = 0;
    int scrolls = 0;
    int foregroundCalls = 0;
};

// The text of one row of a buffer as UTF-8, trailing blanks removed; empty cells read as spaces.
inline std::string rowText(const Terminal& terminal, const Buffer& buffer, int screenRow)
{
    const BufferLine& line = buffer.lines[buffer.yDisp() + screenRow];
    std::string out;
    for (const CharData& cell : line.cells()) {
        if (cell.width == 0)
            continue;
        out += cell.code == 0 ? std::string(" ") : terminal.cellText(cell);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

inline std::vector<std::string> screenRows(const Terminal& terminal, const Buffer& buffer)
{
    std::vector<std::string> out;
    for (int row = 0; row < buffer.rows(); ++row)
        out.push_back(rowText(terminal, buffer, row));
    return out;
}

inline std::vector<std::string> screenRows(const Terminal& terminal) { return screenRows(terminal, terminal.buffer()); }

} // namespace brevlin::testing_support
