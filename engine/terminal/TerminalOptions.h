#pragma once

#include "engine/buffer/Color.h"
#include "engine/terminal/CursorStyle.h"

#include <string>

namespace brevlin {

// Construction options of a terminal.
struct TerminalOptions {
    int cols = 80;
    int rows = 25;
    // Initial line-feed mode: a line feed also returns the carriage.
    bool convertEol = false;
    std::string termName = "xterm-256color";
    CursorStyle cursorStyle = CursorStyle::blinkBlock;
    // For the front end; the terminal does not act on it.
    bool screenReaderMode = false;
    int scrollback = 500;
    int tabStopWidth = 8;
    bool enableSixelReported = true;
    long long kittyImageCacheLimitBytes = 335'544'320;
    Ansi256PaletteStrategy ansi256PaletteStrategy = Ansi256PaletteStrategy::base16Lab;
};

} // namespace brevlin
