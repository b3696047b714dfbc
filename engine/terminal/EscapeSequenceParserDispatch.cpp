#include "engine/terminal/EscapeSequenceParser.h"

namespace brevlin {

void EscapeSequenceParser::dispatchExecute(std::uint8_t) {}

void EscapeSequenceParser::dispatchCsi(std::uint8_t code, const std::vector<std::int64_t>& pars,
    const std::vector<std::uint8_t>& collect)
{
    csiHandlerFallback(pars, collect, code);
}

void EscapeSequenceParser::dispatchEsc(const std::vector<std::uint8_t>& collect, std::uint8_t code)
{
    escHandlerFallback(collect, code);
}

void EscapeSequenceParser::dispatchOsc(std::int64_t code, ByteSpan data)
{
    if (auto handler = oscHandlers.find(code); handler != oscHandlers.end()) {
        handler->second(data);
        return;
    }
    oscHandlerFallback(code, data);
}

void EscapeSequenceParser::dispatchApc(std::uint8_t command, ByteSpan content) { apcHandlerFallback(command, content); }

void EscapeSequenceParser::dispatchDcs(const std::vector<std::uint8_t>&, std::uint8_t, const std::vector<std::int64_t>&)
{
    activeDcsHandler.reset();
}

} // namespace brevlin
