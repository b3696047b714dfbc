#pragma once

#include "engine/terminal/EscapeSequences.h"
#include "engine/terminal/TerminalTypes.h"

#include <optional>

namespace brevlin {

enum class MouseButtonAction { press, release };

struct MouseModifiers {
    bool shift = false;
    bool meta = false;
    bool control = false;
};

// Button flags of a report: low two bits the button (3 = release), 4 shift, 8 meta, 16 control,
// 32 motion, 64 wheel. Modifiers are only reported in the modes that ask for them.
int encodeMouseButton(MouseMode mode, int button, MouseButtonAction action, MouseModifiers modifiers);

// The bytes of one report, or none when the position cannot be written in the encoding
// (x10 stops at 222 cells, utf8 at 2014).
std::optional<Bytes> encodeMouseReport(MouseProtocolEncoding encoding, const CC& cc, int buttonFlags, int x, int y,
    int pixelX, int pixelY);

} // namespace brevlin
