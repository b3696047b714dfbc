#include "engine/terminal/Terminal.h"

#include "engine/terminal/LogFormatting.h"

#include <string>

namespace brevlin {

namespace {

// A byte shown as the character whose code point is the byte's value.
std::string byteAsCharacter(std::uint8_t byte)
{
    std::string out;
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
    return out;
}

} // namespace

void Terminal::configureParser(EscapeSequenceParser& target)
{
    target.printHandler = [this](ByteSpan data) { handlePrint(data); };
    target.printStateReset = [this] { resetReadingBuffer(); };
    target.executeHandlerFallback = [this] { log("Brevlin: Unknown EXECUTE code"); };
    target.csiHandlerFallback = [this](const Params& pars, const Collect& collect, std::uint8_t code) {
        log("Brevlin: Unknown CSI Code (collect=" + decimalList(collect) + " code=" + byteAsCharacter(code)
            + " pars=" + decimalList(pars) + ")");
    };
    target.escHandlerFallback = [this](const Collect& collect, std::uint8_t code) {
        log("Brevlin: Unknown ESC Code: ESC + " + byteAsCharacter(code) + " txt=" + decimalList(collect));
    };
    target.oscHandlerFallback = [this](std::int64_t code, ByteSpan) {
        std::string line = "Brevlin: Unknown OSC code: ";
        line += std::to_string(code);
        log(line);
    };
    target.apcHandlerFallback = [this](std::uint8_t command, ByteSpan) {
        log("Brevlin: Unknown APC code: " + byteAsCharacter(command));
    };
    target.errorHandler = [this](ParsingState state) {
        log("Brevlin: Parsing error, state: Brevlin.ParsingState");
        return state;
    };
}

void Terminal::registerOscHandler(std::int64_t code, EscapeSequenceParser::OscHandler handler)
{
    parser->oscHandlers[code] = std::move(handler);
}

} // namespace brevlin
