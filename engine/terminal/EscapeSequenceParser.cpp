#include "engine/terminal/EscapeSequenceParser.h"

#include "engine/terminal/ProfileMarks.h"
#include "engine/terminal/Vt500TransitionTable.h"

#include <algorithm>
#include <cstdio>

namespace brevlin {

namespace {

bool isDigit(std::uint8_t byte) { return byte >= '0' && byte <= '9'; }

} // namespace

// What an aborting error handler rolls the parser back to.
struct EscapeSequenceParser::Snapshot {
    ParserState state;
    std::vector<std::int64_t> pars;
    std::vector<std::uint8_t> parsTxt;
    std::vector<std::uint8_t> collect;
    std::size_t oscSize;
    std::size_t apcSize;
    bool stringOverflow;
    bool escapeOverflow;
};

EscapeSequenceParser::EscapeSequenceParser(Terminal* owner)
    : terminal(owner)
{
    csiHandlerFallback = [](const std::vector<std::int64_t>&, const std::vector<std::uint8_t>&, std::uint8_t code) {
        std::printf("Cannot handle ESC-%d\n", code);
    };
}

EscapeSequenceParser::~EscapeSequenceParser() = default;

const TransitionTable& EscapeSequenceParser::table() const { return vt500TransitionTable; }

std::int64_t EscapeSequenceParser::parseInt(ByteSpan data)
{
    std::int64_t value = 0;
    for (std::uint8_t byte : data) {
        if (!isDigit(byte))
            break;
        value = std::min(value * 10 + (byte - '0'), maxParameterValue);
    }
    return value;
}

void EscapeSequenceParser::reset()
{
    currentState = initialState;
    osc_.clear();
    apc_.clear();
    collect_.clear();
    pars_.assign(1, 0);
    stringOverflow_ = false;
    escapeOverflow_ = false;
    activeDcsHandler.reset();
    printStateReset();
}

void EscapeSequenceParser::clearSequence()
{
    osc_.clear();
    apc_.clear();
    parsTxt_.clear();
    collect_.clear();
    pars_.assign(1, 0);
    stringOverflow_ = false;
    escapeOverflow_ = false;
    stringsReplaced_ = true;
}

void EscapeSequenceParser::addParameterDigit(std::uint8_t digit)
{
    std::int64_t& last = pars_.back();
    last = std::min(last * 10 + (digit - '0'), maxParameterValue);
}

bool EscapeSequenceParser::addParameter(std::uint8_t separator)
{
    if (pars_.size() >= maxParameters)
        return false;
    parsTxt_.push_back(separator);
    pars_.push_back(0);
    return true;
}

bool EscapeSequenceParser::addIntermediate(std::uint8_t byte)
{
    if (collect_.size() >= maxIntermediates)
        return false;
    collect_.push_back(byte);
    return true;
}

std::size_t EscapeSequenceParser::stringLimit(const std::vector<std::uint8_t>& buffer) const
{
    if (&buffer == &apc_)
        return !apc_.empty() && apc_[0] == 'G' ? maxPayloadStringBytes : maxStringBytes;
    std::int64_t number = parseInt(buffer);
    return number == 52 || number == 1337 ? maxPayloadStringBytes : maxStringBytes;
}

void EscapeSequenceParser::appendStringByte(std::vector<std::uint8_t>& buffer, std::uint8_t byte)
{
    if (stringOverflow_)
        return;
    if (buffer.size() >= maxStringBytes && buffer.size() >= stringLimit(buffer)) {
        stringOverflow_ = true;
        std::vector<std::uint8_t>().swap(buffer);
        return;
    }
    buffer.push_back(byte);
}

void EscapeSequenceParser::finishOsc(std::uint8_t terminator)
{
    if (osc_.empty() || stringOverflow_ || terminator == 0x18 || terminator == 0x1A)
        return;
    auto separator = std::find(osc_.begin(), osc_.end(), ';');
    std::int64_t number = parseInt(ByteSpan(osc_.data(), static_cast<std::size_t>(separator - osc_.begin())));
    ByteSpan data;
    if (separator != osc_.end())
        data = ByteSpan(osc_).subspan(static_cast<std::size_t>(separator - osc_.begin()) + 1);
    dispatchOsc(number, data);
}

void EscapeSequenceParser::finishApc(std::uint8_t terminator)
{
    if (apc_.empty() || stringOverflow_ || terminator == 0x18 || terminator == 0x1A)
        return;
    dispatchApc(apc_[0], ByteSpan(apc_).subspan(1));
}

void EscapeSequenceParser::endString(std::uint8_t terminator, ParserState& next)
{
    if (terminator == 0x1B)
        next = ParserState::escape;
    pars_.assign(1, 0);
    collect_.clear();
    osc_.clear();
    apc_.clear();
    parsTxt_.clear();
    stringOverflow_ = false;
    stringsReplaced_ = true;
    printStateReset();
}

ParsingState EscapeSequenceParser::makeErrorReport(std::size_t position, std::uint8_t code, std::int64_t printStart,
    std::int64_t dcsStart) const
{
    ParsingState report;
    report.position = static_cast<std::int64_t>(position);
    report.code = code;
    report.currentState = currentState;
    report.print = printStart;
    report.dcs = dcsStart;
    report.osc = osc_;
    report.apc = apc_;
    report.collect = collect_;
    return report;
}

void EscapeSequenceParser::restore(Snapshot&& snapshot)
{
    currentState = snapshot.state;
    pars_ = std::move(snapshot.pars);
    parsTxt_ = std::move(snapshot.parsTxt);
    collect_ = std::move(snapshot.collect);
    stringOverflow_ = snapshot.stringOverflow;
    escapeOverflow_ = snapshot.escapeOverflow;
    // Strings only grow within a call unless a new one began; a string that was replaced is lost.
    if (stringsReplaced_) {
        osc_.clear();
        apc_.clear();
    } else {
        osc_.resize(std::min(osc_.size(), snapshot.oscSize));
        apc_.resize(std::min(apc_.size(), snapshot.apcSize));
    }
}

void EscapeSequenceParser::parse(ByteSpan data)
{
    using enum ParserState;
    ProfileInterval profile("Parser.Parse");

    Snapshot snapshot {currentState, pars_, parsTxt_, collect_, osc_.size(), apc_.size(), stringOverflow_, escapeOverflow_};
    stringsReplaced_ = false;

    const std::uint8_t* bytes = data.data();
    const std::size_t length = data.size();
    const TransitionTable& transitions = vt500TransitionTable;
    ParserState state = currentState;
    std::int64_t printStart = -1;
    std::int64_t dcsStart = -1;

    auto flushPrint = [&](std::size_t end) {
        if (printStart < 0)
            return false;
        printHandler(data.subspan(static_cast<std::size_t>(printStart), end - static_cast<std::size_t>(printStart)));
        printStart = -1;
        return true;
    };
    auto flushDcs = [&](std::size_t end) {
        if (dcsStart >= 0 && activeDcsHandler)
            activeDcsHandler->put(data.subspan(static_cast<std::size_t>(dcsStart), end - static_cast<std::size_t>(dcsStart)));
        dcsStart = -1;
    };

    for (std::size_t i = 0; i < length; ++i) {
        std::uint8_t code = bytes[i];

        if (state == ground && code >= 0x20) {
            if (printStart < 0)
                printStart = static_cast<std::int64_t>(i);
            do {
                ++i;
            } while (i < length && bytes[i] >= 0x20);
            if (i >= length)
                break;
            code = bytes[i];
        }
        // Parameter fast path: digits and separators of a CSI, and its final byte, skip the table.
        if (state == csiParam || state == csiEntry) {
            if (isDigit(code)) {
                addParameterDigit(code);
                state = csiParam;
                continue;
            }
            if (code == ';') {
                state = addParameter(code) ? csiParam : csiIgnore;
                continue;
            }
            if (code >= 0x40 && code <= 0x7E) {
                dispatchCsi(code, pars_, collect_);
                state = ground;
                continue;
            }
        }

        const std::uint8_t entry = transitions.entry(state, code);
        ParserState next = nextStateOf(entry);
        ParserAction action = actionOf(entry);
        // Inside a string only BEL, CAN and ESC end it, wherever a read boundary falls: the table
        // would otherwise end or abandon the string at a C1 byte or SUB that starts a slice.
        if ((state == oscString || state == apcString) && code != 0x07 && code != 0x18 && code != 0x1B) {
            action = ParserAction::oscPut;
            next = state;
        }
        switch (action) {
        case ParserAction::ignore:
            if (!flushPrint(i))
                flushDcs(i);
            break;
        case ParserAction::error: {
            const bool highByte = code >= 0xA0;
            if (highByte && state == ground) {
                if (printStart < 0)
                    printStart = static_cast<std::int64_t>(i);
                continue;
            }
            if (highByte && (state == csiIgnore || state == dcsIgnore))
                continue;
            if (highByte && state == dcsPassthrough) {
                if (dcsStart < 0)
                    dcsStart = static_cast<std::int64_t>(i);
                continue;
            }
            currentState = state;
            ParsingState report = errorHandler(makeErrorReport(i, code, printStart, dcsStart));
            if (report.abort) {
                restore(std::move(snapshot));
                return;
            }
            next = ground;
            break;
        }
        case ParserAction::print:
            if (printStart < 0)
                printStart = static_cast<std::int64_t>(i);
            break;
        case ParserAction::execute:
            flushPrint(i);
            dispatchExecute(code);
            break;
        case ParserAction::oscStart:
            flushPrint(i);
            if (next == apcString)
                apc_.clear();
            else
                osc_.clear();
            stringOverflow_ = false;
            stringsReplaced_ = true;
            break;
        case ParserAction::oscPut: {
            std::vector<std::uint8_t>& buffer = state == apcString ? apc_ : osc_;
            std::size_t j = i;
            for (; j < length; ++j) {
                const std::uint8_t byte = bytes[j];
                if (byte == 0x07 || byte == 0x18 || byte == 0x1B)
                    break;
                if (byte >= 0x20)
                    appendStringByte(buffer, byte);
            }
            i = j - 1;
            break;
        }
        case ParserAction::oscEnd:
            if (state == apcString)
                finishApc(code);
            else
                finishOsc(code);
            endString(code, next);
            dcsStart = -1;
            break;
        case ParserAction::csiDispatch:
            dispatchCsi(code, pars_, collect_);
            break;
        case ParserAction::param:
            if (isDigit(code))
                addParameterDigit(code);
            else if (!addParameter(code))
                next = state == dcsParam || state == dcsEntry ? dcsIgnore : csiIgnore;
            break;
        case ParserAction::collect:
            if (!addIntermediate(code)) {
                if (state == escape || state == escapeIntermediate)
                    escapeOverflow_ = true;
                else if (state == dcsEntry || state == dcsParam || state == dcsIntermediate)
                    next = dcsIgnore;
                else
                    next = csiIgnore;
            }
            break;
        case ParserAction::escDispatch:
            if (!escapeOverflow_)
                dispatchEsc(collect_, code);
            escapeOverflow_ = false;
            break;
        case ParserAction::clear:
            flushPrint(i);
            // Right after ESC the buffers are still empty: ESC [ clears once, not twice.
            if (state != escape) {
                clearSequence();
                printStateReset();
            }
            dcsStart = -1;
            break;
        case ParserAction::dcsHook:
            dispatchDcs(collect_, code, pars_);
            break;
        case ParserAction::dcsPut:
            if (dcsStart < 0)
                dcsStart = static_cast<std::int64_t>(i);
            break;
        case ParserAction::dcsUnhook:
            if (activeDcsHandler) {
                flushDcs(i);
                activeDcsHandler->unhook();
                activeDcsHandler.reset();
            }
            endString(code, next);
            dcsStart = -1;
            break;
        }
        state = next;
    }

    if (state == ground)
        flushPrint(length);
    else if (state == dcsPassthrough)
        flushDcs(length);
    currentState = state;
}

} // namespace brevlin
