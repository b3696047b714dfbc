// Arbitrary bytes into a small terminal, cut into chunks at arbitrary points and mixed with
// resizes: no input may crash the terminal or break its buffer invariants.

#include "engine/terminal/Terminal.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

class NullDelegate : public brevlin::TerminalDelegate {
public:
    void send(brevlin::Terminal&, std::span<const std::uint8_t>) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    NullDelegate delegate;
    brevlin::Terminal terminal(&delegate,
        brevlin::TerminalOptions {.cols = 2 + data[0] % 30, .rows = 1 + data[1] % 12, .scrollback = data[2] % 40});
    std::size_t at = 3;
    while (at < size) {
        const std::uint8_t control = data[at++];
        const std::size_t chunk = std::min<std::size_t>(1 + control % 64, size - at);
        terminal.feed(std::span<const std::uint8_t>(data + at, chunk));
        at += chunk;
        // Every so often the window changes size between two chunks.
        if (control >= 0xF0 && at < size) {
            terminal.resize(1 + data[at] % 40, data[at] / 16);
            ++at;
        }
    }
    return 0;
}
