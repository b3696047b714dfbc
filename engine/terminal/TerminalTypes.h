#pragma once

#include <cstdint>
#include <optional>

namespace brevlin {

// Which mouse events the program asked to hear about.
enum class MouseMode { off, x10, vt200, buttonEventTracking, anyEvent };

constexpr bool mouseModeSendsModifiers(MouseMode mode)
{
    return mode == MouseMode::vt200 || mode == MouseMode::buttonEventTracking || mode == MouseMode::anyEvent;
}
constexpr bool mouseModeSendsMotion(MouseMode mode) { return mode == MouseMode::anyEvent; }

// How mouse reports are written on the wire.
enum class MouseProtocolEncoding { x10, utf8, sgr, urxvt, sgrPixel };

enum class TerminalConformance { vt100, vt200, vt300, vt400, vt500 };

// Chooses a buffer for text extraction.
enum class BufferKind { active, normal, alt };

enum class ProgressReportState : int { remove = 0, set = 1, error = 2, indeterminate = 3, pause = 4 };

constexpr std::optional<ProgressReportState> progressReportStateFromRaw(int raw)
{
    if (raw < 0 || raw > 4)
        return std::nullopt;
    return static_cast<ProgressReportState>(raw);
}

struct ProgressReport {
    ProgressReportState state = ProgressReportState::remove;
    std::optional<std::uint8_t> progress;

    friend bool operator==(const ProgressReport&, const ProgressReport&) = default;
};

// A requested image dimension of an inline image.
struct ImageSizeRequest {
    enum class Unit { automatic, cells, pixels, percent };
    Unit unit = Unit::automatic;
    int value = 0;

    friend bool operator==(const ImageSizeRequest&, const ImageSizeRequest&) = default;
};

// A window request of CSI t, handed to the front end.
struct WindowManipulationCommand {
    enum class Kind {
        deiconifyWindow,
        iconifyWindow,
        moveWindowTo,
        resizeWindowTo,
        bringToFront,
        sendToBack,
        refreshWindow,
        resizeTo,
        resizeTerminal,
        restoreMaximizedWindow,
        maximizeWindow,
        maximizeWindowVertically,
        maximizeWindowHorizontally,
        undoFullScreen,
        switchToFullScreen,
        toggleFullScreen,
        reportTerminalState,
        reportTerminalPosition,
        reportTextAreaPosition,
        reportTextAreaPixelDimension,
        reportTerminalWindowPixelDimension,
        reportSizeOfScreenInPixels,
        reportCellSizeInPixels,
        reportTextAreaCharacters,
        reportScreenSizeCharacters,
        reportIconLabel,
        reportWindowTitle,
        resizeToLines,
    };
    Kind kind = Kind::refreshWindow;
    // x and y, width and height, or columns and rows, for the cases that carry values.
    std::int64_t first = 0;
    std::int64_t second = 0;

    friend bool operator==(const WindowManipulationCommand&, const WindowManipulationCommand&) = default;
};

} // namespace brevlin
