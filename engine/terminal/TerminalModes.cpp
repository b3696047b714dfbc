#include "engine/terminal/Terminal.h"

namespace brevlin {

void Terminal::cmdSetMode(const Params& pars, const Collect& collect)
{
    const bool decPrivate = collect.size() == 1 && collect[0] == '?';
    if (!collect.empty() && !decPrivate)
        return;
    for (std::int64_t mode : pars)
        setMode(mode, decPrivate ? ModeFamily::decPrivate : ModeFamily::ansi, ModeSwitch::set);
}

void Terminal::cmdResetMode(const Params& pars, const Collect& collect)
{
    const bool decPrivate = collect.size() == 1 && collect[0] == '?';
    if (!collect.empty() && !decPrivate)
        return;
    for (std::int64_t mode : pars)
        setMode(mode, decPrivate ? ModeFamily::decPrivate : ModeFamily::ansi, ModeSwitch::reset);
}

void Terminal::setMode(std::int64_t mode, ModeFamily family, ModeSwitch action)
{
    const bool on = action == ModeSwitch::set;
    if (family == ModeFamily::ansi) {
        if (mode == 4)
            insertMode = on;
        else if (mode == 20)
            lineFeedMode = on;
        for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()})
            each->insertMode = insertMode;
        return;
    }
    auto switchScreen = [this](bool toAlternate, AlternateContents onReturn) {
        if (toAlternate)
            activateAltBuffer(std::nullopt);
        else
            activateNormalBuffer(onReturn);
        updateFullScreen();
        if (tdel != nullptr)
            tdel->bufferActivated(*this);
    };
    auto setMouse = [this, on](MouseMode mode) { setMouseMode(on ? mode : MouseMode::off); };
    auto setEncoding = [this, on](MouseProtocolEncoding encoding) {
        mouseProtocol = on ? encoding : MouseProtocolEncoding::x10;
    };
    switch (mode) {
    case 1: applicationCursor = on; break;
    case 6:
        originMode = on;
        setCursor(0, 0);
        break;
    case 7:
        wraparound = on;
        for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()})
            each->wraparound = on;
        break;
    case 9: setMouse(MouseMode::x10); break;
    case 12: cursorBlink = on; break;
    case 25:
        if (on)
            showCursor();
        else
            hideCursor();
        break;
    case 45: reverseWraparound = on; break;
    case 47: switchScreen(on, AlternateContents::keep); break;
    case 66: applicationKeypad = on; break;
    case 69:
        marginMode = on;
        for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()})
            each->marginMode = on;
        if (!on) {
            buffer_->marginLeft = 0;
            buffer_->marginRight = cols - 1;
        }
        break;
    case 1000: setMouse(MouseMode::vt200); break;
    case 1002: setMouse(MouseMode::buttonEventTracking); break;
    case 1003: setMouse(MouseMode::anyEvent); break;
    case 1004: sendFocus = on; break;
    case 1005: setEncoding(MouseProtocolEncoding::utf8); break;
    case 1006: setEncoding(MouseProtocolEncoding::sgr); break;
    case 1015: setEncoding(MouseProtocolEncoding::urxvt); break;
    case 1016: setEncoding(MouseProtocolEncoding::sgrPixel); break;
    case 1047: switchScreen(on, AlternateContents::clear); break;
    case 1048:
        if (on)
            cmdSaveCursor();
        else
            cmdRestoreCursor();
        break;
    case 1049:
        if (on) {
            cmdSaveCursor();
            switchScreen(true, AlternateContents::keep);
        } else {
            switchScreen(false, AlternateContents::clear);
            cmdRestoreCursor();
        }
        break;
    case 2004: bracketedPasteMode = on; break;
    case 2026:
        if (on)
            beginSynchronizedOutput();
        else
            endSynchronizedOutput();
        break;
    default: break;
    }
}

void Terminal::cmdDeviceStatus(const Params& pars, const Collect& collect)
{
    const std::int64_t request = pars.empty() ? 0 : pars[0];
    const bool decPrivate = collect.size() == 1 && collect[0] == '?';
    Buffer& b = *buffer_;
    std::string text;
    if (request == 5 && collect.empty()) {
        text = "0n";
    } else if (request == 6) {
        const int row = b.y() + 1 - (originMode ? b.scrollTop() : 0);
        const int column = std::min(b.x(), cols - 1) + 1 - (originMode && marginMode ? b.marginLeft : 0);
        text = decPrivate ? "?" : "";
        text += std::to_string(row);
        text += ';';
        text += std::to_string(column);
        text += 'R';
    } else {
        return;
    }
    const Bytes introducer = cc.csi();
    sendResponse({std::span<const std::uint8_t>(introducer),
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())});
}

void Terminal::cmdSendDeviceAttributes(const Params& pars, const Collect& collect)
{
    if (!pars.empty() && pars[0] > 0)
        return;
    std::string text;
    if (collect.empty())
        text = options.enableSixelReported ? "?65;4;1;9;15;22c" : "?65;1;9;15;22c";
    else if (collect.size() == 1 && collect[0] == '>')
        text = ">41;0;0c";
    else
        return;
    const Bytes introducer = cc.csi();
    sendResponse({std::span<const std::uint8_t>(introducer),
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())});
}

} // namespace brevlin
