#pragma once

#include "engine/terminal/DcsHandler.h"
#include "engine/terminal/ParserState.h"
#include "engine/terminal/ParsingState.h"
#include "engine/terminal/TransitionTable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace brevlin {

class Terminal;

using ByteSpan = std::span<const std::uint8_t>;

// Table-driven VT500 state machine: turns program output into calls on its terminal.
// Every sequence may be split across parse() calls at any byte.
class EscapeSequenceParser {
public:
    using OscHandler = std::function<void(ByteSpan data)>;

    // Memory caps: strings, parameter lists and intermediates past these are swallowed up to
    // their terminator and dropped, so hostile output cannot grow the parser without bound.
    static constexpr std::size_t maxStringBytes = 1 << 20;
    // OSC 52 (clipboard), OSC 1337 (inline files) and kitty graphics APC carry large payloads.
    static constexpr std::size_t maxPayloadStringBytes = 64 << 20;
    static constexpr std::size_t maxParameters = 32;
    static constexpr std::size_t maxIntermediates = 4;
    // Parameters saturate here, which keeps handler arithmetic far from overflow.
    static constexpr std::int64_t maxParameterValue = 0x7FFF'FFFF;

    explicit EscapeSequenceParser(Terminal* terminal);
    virtual ~EscapeSequenceParser();
    EscapeSequenceParser(const EscapeSequenceParser&) = delete;
    EscapeSequenceParser& operator=(const EscapeSequenceParser&) = delete;

    void parse(ByteSpan data);
    virtual void reset();

    // Leading decimal digits of `data`, saturating at maxParameterValue; 0 without digits.
    static std::int64_t parseInt(ByteSpan data);

    std::unordered_map<std::int64_t, OscHandler> oscHandlers;
    std::unique_ptr<DcsHandler> activeDcsHandler;
    std::function<ParsingState(ParsingState)> errorHandler = [](ParsingState state) { return state; };
    Terminal* terminal = nullptr;
    ParserState initialState = ParserState::ground;
    ParserState currentState = ParserState::ground;

    std::function<void(ByteSpan)> printHandler = [](ByteSpan) {};
    std::function<void()> printStateReset = [] {};
    std::function<void(const std::vector<std::uint8_t>& collect, std::uint8_t code)> escHandlerFallback
        = [](const std::vector<std::uint8_t>&, std::uint8_t) {};
    std::function<void(std::uint8_t code, const std::vector<std::int64_t>& pars)> dscHandlerFallback
        = [](std::uint8_t, const std::vector<std::int64_t>&) {};
    std::function<void()> executeHandlerFallback = [] {};
    std::function<void(const std::vector<std::int64_t>& pars, const std::vector<std::uint8_t>& collect, std::uint8_t code)>
        csiHandlerFallback;
    std::function<void(std::int64_t code, ByteSpan data)> oscHandlerFallback = [](std::int64_t, ByteSpan) {};
    std::function<void(std::uint8_t command, ByteSpan content)> apcHandlerFallback = [](std::uint8_t, ByteSpan) {};
    int logFileCounter = 1;

    // Separators between parameters: element k stood between parameter k and k + 1.
    const std::vector<std::uint8_t>& parameterSeparators() const { return parsTxt_; }
    const TransitionTable& table() const;

protected:
    virtual void dispatchExecute(std::uint8_t code);
    virtual void dispatchCsi(std::uint8_t code, const std::vector<std::int64_t>& pars, const std::vector<std::uint8_t>& collect);
    virtual void dispatchEsc(const std::vector<std::uint8_t>& collect, std::uint8_t code);
    virtual void dispatchOsc(std::int64_t code, ByteSpan data);
    virtual void dispatchApc(std::uint8_t command, ByteSpan content);
    // Chooses and hooks the payload handler of a DCS string, or none.
    virtual void dispatchDcs(const std::vector<std::uint8_t>& collect, std::uint8_t code, const std::vector<std::int64_t>& pars);

private:
    struct Snapshot;

    void clearSequence();
    void endString(std::uint8_t terminator, ParserState& next);
    void finishOsc(std::uint8_t terminator);
    void finishApc(std::uint8_t terminator);
    void appendStringByte(std::vector<std::uint8_t>& buffer, std::uint8_t byte);
    std::size_t stringLimit(const std::vector<std::uint8_t>& buffer) const;
    void addParameterDigit(std::uint8_t digit);
    bool addParameter(std::uint8_t separator);
    bool addIntermediate(std::uint8_t byte);
    ParsingState makeErrorReport(std::size_t position, std::uint8_t code, std::int64_t printStart, std::int64_t dcsStart) const;
    void restore(Snapshot&& snapshot);

    std::vector<std::uint8_t> osc_;
    std::vector<std::uint8_t> apc_;
    std::vector<std::int64_t> pars_ {0};
    std::vector<std::uint8_t> parsTxt_;
    std::vector<std::uint8_t> collect_;
    // A capped buffer overflowed: the rest of the sequence is swallowed and nothing dispatched.
    bool stringOverflow_ = false;
    bool escapeOverflow_ = false;
    // Set when a string buffer was emptied during the current parse call (see restore()).
    bool stringsReplaced_ = false;
};

} // namespace brevlin
