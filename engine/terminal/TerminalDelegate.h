#pragma once

#include "engine/buffer/Color.h"
#include "engine/terminal/CursorStyle.h"
#include "engine/terminal/TerminalTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace brevlin {

class Terminal;

struct CellPixelSize {
    int width = 0;
    int height = 0;
};

struct DefaultColors {
    Color foreground;
    Color background;
};

// The front end of a terminal. Every operation but send() has a default; the terminal does not
// own its delegate, and the owner clears it (Terminal::setDelegate(nullptr)) before it goes away.
class TerminalDelegate {
public:
    virtual ~TerminalDelegate() = default;

    virtual void showCursor(Terminal& source);
    virtual void hideCursor(Terminal& source);
    virtual void setTerminalTitle(Terminal& source, const std::string& title);
    virtual void setTerminalIconTitle(Terminal& source, const std::string& title);
    virtual std::optional<std::vector<std::uint8_t>> windowCommand(Terminal& source, const WindowManipulationCommand& command);
    virtual void sizeChanged(Terminal& source);
    virtual void send(Terminal& source, std::span<const std::uint8_t> data) = 0;
    virtual void scrolled(Terminal& source, int yDisp);
    virtual void linefeed(Terminal& source);
    virtual void bufferActivated(Terminal& source);
    virtual void synchronizedOutputChanged(Terminal& source, bool active);
    virtual void bell(Terminal& source);
    virtual void selectionChanged(Terminal& source);
    virtual bool isProcessTrusted(Terminal& source);
    virtual std::optional<CellPixelSize> cellSizeInPixels(Terminal& source);
    virtual void mouseModeChanged(Terminal& source);
    virtual void cursorStyleChanged(Terminal& source, CursorStyle newStyle);
    virtual void hostCurrentDirectoryUpdated(Terminal& source);
    virtual void hostCurrentDocumentUpdated(Terminal& source);
    // No index means every palette entry changed.
    virtual void colorChanged(Terminal& source, std::optional<int> idx);
    virtual void setForegroundColor(Terminal& source, const Color& color);
    virtual void setBackgroundColor(Terminal& source, const Color& color);
    virtual void setCursorColor(Terminal& source, const std::optional<Color>& color);
    virtual DefaultColors getColors(Terminal& source);
    virtual void iTermContent(Terminal& source, std::span<const std::uint8_t> content);
    virtual void clipboardCopy(Terminal& source, const std::vector<std::uint8_t>& content);
    virtual void notify(Terminal& source, const std::string& title, const std::string& body);
    virtual void progressReport(Terminal& source, const ProgressReport& report);
    // RGBA bytes, four per pixel, rows top first.
    virtual void createImageFromBitmap(Terminal& source, std::vector<std::uint8_t>& bytes, int width, int height);
    virtual void createImage(Terminal& source, const std::vector<std::uint8_t>& data, ImageSizeRequest width,
        ImageSizeRequest height, bool preserveAspectRatio);
};

} // namespace brevlin
