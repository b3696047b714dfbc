// Screen-model costs on the hot paths of a terminal: scrolling a full ring and reflowing on resize.

#include "AllocationCounter.h"

#include "engine/buffer/Buffer.h"
#include "engine/buffer/UnicodeUtil.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace brevlin {
namespace {

constexpr int scrollbackLines = 10000;

// One line of output at the bottom of a full screen: the oldest row becomes the new bottom row
// and the text is written into it, as the terminal's line feed and printing do. The argument is
// the scrollback; with 10,000 lines the recycled row is never in cache, with 100 it always is.
void BM_SteadyStateScroll(benchmark::State& state)
{
    Buffer buffer(80, 25, 8, static_cast<int>(state.range(0)));
    buffer.fillViewportRows();
    while (!buffer.lines.isFull())
        buffer.lines.push(buffer.getBlankLine(CharData::Null.attribute));
    buffer.yBase = buffer.lines.count() - buffer.rows();
    buffer.setY(buffer.rows() - 1);

    const std::string text(80, 'x');
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const Attribute attribute {Attribute::Color::ansi256(2), Attribute::Color::defaultColor()};

    const std::uint64_t allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        buffer.lines.recycle(CharData::Null.attribute);
        buffer.setX(0);
        benchmark::DoNotOptimize(buffer.insertAsciiRun(bytes, attribute));
    }
    const auto lines = static_cast<double>(state.iterations());
    state.counters["allocs/line"] = static_cast<double>(bench::allocationCount() - allocationsBefore) / lines;
    state.counters["lines/s"] = benchmark::Counter(lines, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SteadyStateScroll)->Arg(scrollbackLines)->Arg(100);

// 10,000 logical lines of 150 characters, each on one row at 200 columns.
std::unique_ptr<Buffer> makeReflowBuffer()
{
    auto buffer = std::make_unique<Buffer>(200, 25, 8, 2 * scrollbackLines);
    const std::string text = [] {
        std::string line;
        while (line.size() < 150)
            line += "reflow benchmark text ";
        line.resize(150);
        return line;
    }();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    for (int row = 0; row < scrollbackLines; ++row) {
        buffer->lines.push(buffer->getBlankLine(CharData::Null.attribute));
        buffer->yBase = std::max(buffer->lines.count() - buffer->rows(), 0);
        buffer->setY(buffer->lines.count() - 1 - buffer->yBase);
        buffer->setX(0);
        buffer->insertAsciiRun(bytes, CharData::Null.attribute);
    }
    // The cursor sits on an empty prompt row, as in a shell.
    buffer->lines.push(buffer->getBlankLine(CharData::Null.attribute));
    buffer->yBase = buffer->lines.count() - buffer->rows();
    buffer->setY(buffer->rows() - 1);
    buffer->setX(0);
    buffer->setYDisp(buffer->yBase);
    return buffer;
}

void BM_ReflowNarrower(benchmark::State& state)
{
    auto buffer = makeReflowBuffer();
    for (auto _ : state) {
        buffer->resize(80, 25);
        state.PauseTiming();
        buffer->resize(200, 25);
        state.ResumeTiming();
    }
    state.counters["rows"] = buffer->lines.count();
}
BENCHMARK(BM_ReflowNarrower)->Unit(benchmark::kMillisecond);

void BM_ReflowWider(benchmark::State& state)
{
    auto buffer = makeReflowBuffer();
    buffer->resize(80, 25);
    for (auto _ : state) {
        buffer->resize(200, 25);
        state.PauseTiming();
        buffer->resize(80, 25);
        state.ResumeTiming();
    }
    state.counters["rows"] = buffer->lines.count();
}
BENCHMARK(BM_ReflowWider)->Unit(benchmark::kMillisecond);

// Width lookups as the printing path makes them, over CJK, Latin with accents and emoji.
void BM_ColumnWidth(benchmark::State& state)
{
    std::vector<char32_t> runes;
    for (char32_t rune = 0x4E00; rune < 0x4E00 + 512; ++rune)
        runes.push_back(rune);
    for (char32_t rune = 0xC0; rune < 0x180; ++rune)
        runes.push_back(rune);
    for (char32_t rune = 0x1F600; rune < 0x1F650; ++rune)
        runes.push_back(rune);
    for (auto _ : state) {
        int total = 0;
        for (char32_t rune : runes)
            total += UnicodeUtil::columnWidth(rune);
        benchmark::DoNotOptimize(total);
    }
    state.counters["ns/scalar"] = benchmark::Counter(static_cast<double>(state.iterations() * runes.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ColumnWidth);

} // namespace
} // namespace brevlin
