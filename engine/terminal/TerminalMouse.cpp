#include "engine/terminal/Terminal.h"

namespace brevlin {

int Terminal::encodeButton(int button, MouseButtonAction action, MouseModifiers modifiers) const
{
    return encodeMouseButton(mouseMode_, button, action, modifiers);
}

void Terminal::sendEvent(int buttonFlags, int x, int y) { sendEvent(buttonFlags, x, y, x, y); }

void Terminal::sendEvent(int buttonFlags, int x, int y, int pixelX, int pixelY)
{
    if (std::optional<Bytes> report = encodeMouseReport(mouseProtocol, cc, buttonFlags, x, y, pixelX, pixelY))
        sendResponse(std::span<const std::uint8_t>(*report));
}

void Terminal::sendMotion(int buttonFlags, int x, int y, int pixelX, int pixelY)
{
    sendEvent(buttonFlags + 32, x, y, pixelX, pixelY);
}

} // namespace brevlin
