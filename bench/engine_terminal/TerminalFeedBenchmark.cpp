// Feed throughput of the terminal at 80x25 with 10,000 lines of scrollback, for the kinds of
// output programs write most: plain lines, densely coloured text, CJK text and full-screen redraws.

#include "engine/terminal/Terminal.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using brevlin::Terminal;
using brevlin::TerminalOptions;

constexpr std::size_t streamBytes = 4 << 20;

class NullDelegate : public brevlin::TerminalDelegate {
public:
    void send(Terminal&, std::span<const std::uint8_t>) override {}
};

std::string repeatToSize(const std::string& unit)
{
    std::string out;
    out.reserve(streamBytes + unit.size());
    while (out.size() < streamBytes)
        out += unit;
    return out;
}

std::string plainAsciiLines()
{
    std::string unit;
    for (int line = 0; line < 64; ++line) {
        for (int column = 0; column < 72 + line % 8; ++column)
            unit += static_cast<char>(' ' + (line * 7 + column) % 95);
        unit += "\r\n";
    }
    return repeatToSize(unit);
}

std::string denseSgrText()
{
    std::string unit;
    for (int word = 0; word < 512; ++word) {
        unit += "\x1b[" + std::to_string(30 + word % 8) + ";" + std::to_string(40 + (word / 8) % 8) + "m";
        if (word % 5 == 0)
            unit += "\x1b[1;38;5;" + std::to_string(word % 256) + "m";
        if (word % 7 == 0)
            unit += "\x1b[38;2;" + std::to_string(word % 256) + ";100;200m";
        unit += "word" + std::to_string(word) + "\x1b[0m ";
        if (word % 9 == 8)
            unit += "\r\n";
    }
    return repeatToSize(unit);
}

std::string cjkText()
{
    const std::string characters[] = {"\u4e2d", "\u6587", "\u5b57", "\u65e5", "\u672c", "\u8a9e", "\ud55c", "\uad6d"};
    std::string unit;
    for (int line = 0; line < 64; ++line) {
        for (int column = 0; column < 39; ++column)
            unit += characters[(line + column) % 8];
        unit += "\r\n";
    }
    return repeatToSize(unit);
}

std::string fullScreenRedraw()
{
    std::string unit = "\x1b[H\x1b[2J";
    for (int row = 1; row <= 25; ++row) {
        unit += "\x1b[" + std::to_string(row) + ";1H\x1b[7m status " + std::to_string(row) + " \x1b[0m";
        unit += "\x1b[" + std::to_string(row) + ";20H" + std::string(40, static_cast<char>('a' + row % 26)) + "\x1b[K";
        unit += "\x1b[3D\x1b[1A\x1b[1B\x1b[2C|";
    }
    unit += "\x1b[25;80H";
    return repeatToSize(unit);
}

void feedStream(benchmark::State& state, const std::string& stream)
{
    NullDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = 80, .rows = 25, .scrollback = 10'000});
    // Fill the scrollback first so the ring recycles rows as in a long-running session.
    terminal.feed(plainAsciiLines());
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
    for (auto _ : state)
        terminal.feed(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(stream.size()));
}

void BM_PlainAsciiLines(benchmark::State& state) { feedStream(state, plainAsciiLines()); }
void BM_DenseSgrText(benchmark::State& state) { feedStream(state, denseSgrText()); }
void BM_CjkText(benchmark::State& state) { feedStream(state, cjkText()); }
void BM_FullScreenRedraw(benchmark::State& state) { feedStream(state, fullScreenRedraw()); }

BENCHMARK(BM_PlainAsciiLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DenseSgrText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CjkText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreenRedraw)->Unit(benchmark::kMillisecond);

} // namespace
