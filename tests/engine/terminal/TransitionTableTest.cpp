#include "engine/terminal/Vt500TransitionTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevlin {
namespace {

using enum ParserState;
using enum ParserAction;

// One span of bytes of one state, as the reference table of the VT500 model lists it.
struct Span {
    int low;
    int high; // inclusive
    ParserAction action;
    ParserState next;
};

constexpr ParserState allStates[] = {ground, escape, escapeIntermediate, csiEntry, csiParam, csiIntermediate, csiIgnore,
    sosPmApcString, oscString, apcString, dcsEntry, dcsParam, dcsIgnore, dcsIntermediate, dcsPassthrough};

// Columns 0x00-0x7F per state, written out independently of the builder.
std::vector<Span> lowColumns(ParserState s)
{
    const bool executesControls = s == ground || s == escape || s == escapeIntermediate || s == csiEntry || s == csiParam
        || s == csiIntermediate || s == csiIgnore;
    const ParserAction controls = executesControls ? execute : (s == dcsPassthrough ? dcsPut : ignore);
    std::vector<Span> spans {
        {0x00, 0x18, controls, s},
        {0x19, 0x19, error, ground},
        {0x1A, 0x1A, execute, ground},
        {0x1B, 0x1B, clear, escape},
        {0x1C, 0x1F, controls, s},
    };
    switch (s) {
    case ground:
        spans.push_back({0x20, 0x7E, print, ground});
        spans.push_back({0x7F, 0x7F, error, ground});
        break;
    case escape:
        spans.push_back({0x20, 0x2F, collect, escapeIntermediate});
        spans.push_back({0x30, 0x4F, escDispatch, ground});
        spans.push_back({0x50, 0x50, clear, dcsEntry});
        spans.push_back({0x51, 0x57, escDispatch, ground});
        spans.push_back({0x58, 0x58, ignore, sosPmApcString});
        spans.push_back({0x59, 0x5A, escDispatch, ground});
        spans.push_back({0x5B, 0x5B, clear, csiEntry});
        spans.push_back({0x5C, 0x5C, escDispatch, ground});
        spans.push_back({0x5D, 0x5D, oscStart, oscString});
        spans.push_back({0x5E, 0x5E, ignore, sosPmApcString});
        spans.push_back({0x5F, 0x5F, oscStart, apcString});
        spans.push_back({0x60, 0x7E, escDispatch, ground});
        spans.push_back({0x7F, 0x7F, ignore, escape});
        break;
    case escapeIntermediate:
        spans.push_back({0x20, 0x2F, collect, s});
        spans.push_back({0x30, 0x7E, escDispatch, ground});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case csiEntry:
        spans.push_back({0x20, 0x2F, collect, csiIntermediate});
        spans.push_back({0x30, 0x39, param, csiParam});
        spans.push_back({0x3A, 0x3A, error, ground});
        spans.push_back({0x3B, 0x3B, param, csiParam});
        spans.push_back({0x3C, 0x3F, collect, csiParam});
        spans.push_back({0x40, 0x7E, csiDispatch, ground});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case csiParam:
        spans.push_back({0x20, 0x2F, collect, csiIntermediate});
        spans.push_back({0x30, 0x3B, param, s});
        spans.push_back({0x3C, 0x3F, ignore, csiIgnore});
        spans.push_back({0x40, 0x7E, csiDispatch, ground});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case csiIntermediate:
        spans.push_back({0x20, 0x2F, collect, s});
        spans.push_back({0x30, 0x3F, ignore, csiIgnore});
        spans.push_back({0x40, 0x7E, csiDispatch, ground});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case csiIgnore:
        spans.push_back({0x20, 0x3F, ignore, s});
        spans.push_back({0x40, 0x7E, ignore, ground});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case sosPmApcString:
    case dcsIgnore:
        spans.push_back({0x20, 0x7F, ignore, s});
        break;
    case oscString:
    case apcString:
        spans = {
            {0x00, 0x06, ignore, s},
            {0x07, 0x07, oscEnd, ground},
            {0x08, 0x17, ignore, s},
            {0x18, 0x18, oscEnd, ground},
            {0x19, 0x19, error, ground},
            {0x1A, 0x1B, oscEnd, ground},
            {0x1C, 0x1F, ignore, s},
            {0x20, 0x7F, oscPut, s},
        };
        break;
    case dcsEntry:
        spans.push_back({0x20, 0x2F, collect, dcsIntermediate});
        spans.push_back({0x30, 0x39, param, dcsParam});
        spans.push_back({0x3A, 0x3A, ignore, dcsIgnore});
        spans.push_back({0x3B, 0x3B, param, dcsParam});
        spans.push_back({0x3C, 0x3F, collect, dcsParam});
        spans.push_back({0x40, 0x7E, dcsHook, dcsPassthrough});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case dcsParam:
        spans.push_back({0x20, 0x2F, collect, dcsIntermediate});
        spans.push_back({0x30, 0x39, param, s});
        spans.push_back({0x3A, 0x3A, ignore, dcsIgnore});
        spans.push_back({0x3B, 0x3B, param, s});
        spans.push_back({0x3C, 0x3F, ignore, dcsIgnore});
        spans.push_back({0x40, 0x7E, dcsHook, dcsPassthrough});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case dcsIntermediate:
        spans.push_back({0x20, 0x2F, collect, s});
        spans.push_back({0x30, 0x3F, ignore, dcsIgnore});
        spans.push_back({0x40, 0x7E, dcsHook, dcsPassthrough});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    case dcsPassthrough:
        spans[3] = {0x1B, 0x1B, dcsUnhook, ground};
        spans.push_back({0x20, 0x7E, dcsPut, s});
        spans.push_back({0x7F, 0x7F, ignore, s});
        break;
    }
    return spans;
}

// Columns 0x80-0xA0, shared by every state but for the string terminators and 0xA0 in strings.
std::vector<Span> highColumns(ParserState s)
{
    const bool isString = s == oscString || s == apcString;
    return {
        {0x80, 0x8F, execute, ground},
        {0x90, 0x90, clear, dcsEntry},
        {0x91, 0x97, execute, ground},
        {0x98, 0x98, ignore, sosPmApcString},
        {0x99, 0x9A, execute, ground},
        {0x9B, 0x9B, clear, csiEntry},
        isString ? Span {0x9C, 0x9C, oscEnd, ground}
                 : (s == dcsPassthrough ? Span {0x9C, 0x9C, dcsUnhook, ground} : Span {0x9C, 0x9C, ignore, ground}),
        {0x9D, 0x9D, oscStart, oscString},
        {0x9E, 0x9E, ignore, sosPmApcString},
        {0x9F, 0x9F, oscStart, apcString},
        isString ? Span {0xA0, 0xA0, oscPut, s} : Span {0xA0, 0xA0, error, ground},
    };
}

TEST(TransitionTable, MatchesTheReferenceTableForEveryStateAndByte)
{
    const TransitionTable& table = vt500TransitionTable;
    for (ParserState state : allStates) {
        std::vector<Span> spans = lowColumns(state);
        std::vector<Span> high = highColumns(state);
        spans.insert(spans.end(), high.begin(), high.end());
        int covered = 0;
        for (const Span& span : spans) {
            for (int byte = span.low; byte <= span.high; ++byte, ++covered) {
                const std::uint8_t entry = table.entry(state, static_cast<std::uint8_t>(byte));
                EXPECT_EQ(actionOf(entry), span.action) << "state " << int(state) << " byte " << byte;
                EXPECT_EQ(nextStateOf(entry), span.next) << "state " << int(state) << " byte " << byte;
            }
        }
        EXPECT_EQ(covered, 0xA1) << "reference spans must cover 0x00-0xA0 of state " << int(state);
    }
}

TEST(TransitionTable, BytesFromA0UpShareOneColumn)
{
    EXPECT_EQ(TransitionTable::indexOf(dcsPassthrough, 0xFF), std::size_t {14 << 8 | 0xA0});
    EXPECT_LT(TransitionTable::indexOf(dcsPassthrough, 0xFF), TransitionTable::length);
    EXPECT_EQ(vt500TransitionTable.entry(oscString, 0xE9), vt500TransitionTable.entry(oscString, 0xA0));
}

TEST(TransitionTable, StatesOutsideTheTableHaveNoRawValue)
{
    EXPECT_EQ(parserStateFromRaw(14), dcsPassthrough);
    EXPECT_FALSE(parserStateFromRaw(15).has_value());
}

} // namespace
} // namespace brevlin
