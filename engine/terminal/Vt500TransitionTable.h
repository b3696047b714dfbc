#pragma once

#include "engine/terminal/TransitionTable.h"

namespace brevlin {

namespace vt500 {

// The bytes low up to, but not including, high.
struct ByteRange {
    int low;
    int high;

    struct Iterator {
        int value;
        constexpr std::uint8_t operator*() const { return static_cast<std::uint8_t>(value); }
        constexpr Iterator& operator++()
        {
            ++value;
            return *this;
        }
        constexpr bool operator!=(const Iterator& other) const { return value != other.value; }
    };
    constexpr Iterator begin() const { return {low}; }
    constexpr Iterator end() const { return {high}; }
};

constexpr ByteRange r(int low, int high) { return {low, high}; }

} // namespace vt500

// Builds the DEC VT500 table at compile time; later rules overwrite earlier ones.
constexpr TransitionTable buildVt500TransitionTable()
{
    using enum ParserState;
    using enum ParserAction;
    using vt500::r;
    constexpr ParserState allStates[] = {ground, escape, escapeIntermediate, csiEntry, csiParam, csiIntermediate,
        csiIgnore, sosPmApcString, oscString, apcString, dcsEntry, dcsParam, dcsIgnore, dcsIntermediate, dcsPassthrough};

    TransitionTable t;
    for (ParserState state : allStates)
        t.add(r(0x00, 0xA1), state, error, ground);

    t.add(r(0x20, 0x7F), ground, print, ground);

    for (ParserState state : allStates) {
        for (std::uint8_t code : {0x18, 0x1A, 0x99, 0x9A})
            t.add(code, state, execute, ground);
        t.add(r(0x80, 0x90), state, execute, ground);
        t.add(r(0x90, 0x98), state, execute, ground);
        t.add(0x9C, state, ignore, ground);
        t.add(0x1B, state, clear, escape);
        t.add(0x9D, state, oscStart, oscString);
        t.add(0x98, state, ignore, sosPmApcString);
        t.add(0x9E, state, ignore, sosPmApcString);
        t.add(0x9F, state, oscStart, apcString);
        t.add(0x9B, state, clear, csiEntry);
        t.add(0x90, state, clear, dcsEntry);
    }

    auto addExecutables = [&t](ParserState state, ParserAction action) {
        t.add(r(0x00, 0x18), state, action, state);
        t.add(0x18, state, action, state);
        t.add(r(0x1C, 0x20), state, action, state);
    };
    for (ParserState state : {ground, escape, escapeIntermediate, csiEntry, csiParam, csiIntermediate, csiIgnore})
        addExecutables(state, execute);
    for (ParserState state : {oscString, apcString, sosPmApcString, dcsEntry, dcsParam, dcsIgnore, dcsIntermediate})
        addExecutables(state, ignore);
    addExecutables(dcsPassthrough, dcsPut);

    // ESC
    t.add(r(0x20, 0x30), escape, collect, escapeIntermediate);
    t.add(r(0x30, 0x50), escape, escDispatch, ground);
    t.add(r(0x51, 0x58), escape, escDispatch, ground);
    t.add(0x59, escape, escDispatch, ground);
    t.add(0x5A, escape, escDispatch, ground);
    t.add(0x5C, escape, escDispatch, ground);
    t.add(r(0x60, 0x7F), escape, escDispatch, ground);
    t.add(0x50, escape, clear, dcsEntry);
    t.add(0x58, escape, ignore, sosPmApcString);
    t.add(0x5E, escape, ignore, sosPmApcString);
    t.add(0x5B, escape, clear, csiEntry);
    t.add(0x5D, escape, oscStart, oscString);
    t.add(0x5F, escape, oscStart, apcString);
    t.add(0x7F, escape, ignore, escape);
    t.add(0x1B, escape, clear, escape);

    t.add(r(0x20, 0x30), escapeIntermediate, collect, escapeIntermediate);
    t.add(r(0x30, 0x7F), escapeIntermediate, escDispatch, ground);
    t.add(0x7F, escapeIntermediate, ignore, escapeIntermediate);

    // CSI
    t.add(r(0x20, 0x30), csiEntry, collect, csiIntermediate);
    t.add(r(0x30, 0x3A), csiEntry, param, csiParam);
    t.add(0x3B, csiEntry, param, csiParam);
    t.add(r(0x3C, 0x40), csiEntry, collect, csiParam);
    t.add(r(0x40, 0x7F), csiEntry, csiDispatch, ground);
    t.add(0x7F, csiEntry, ignore, csiEntry);

    t.add(r(0x20, 0x30), csiParam, collect, csiIntermediate);
    t.add(r(0x30, 0x3C), csiParam, param, csiParam);
    t.add(r(0x3C, 0x40), csiParam, ignore, csiIgnore);
    t.add(r(0x40, 0x7F), csiParam, csiDispatch, ground);
    t.add(0x7F, csiParam, ignore, csiParam);

    t.add(r(0x20, 0x30), csiIntermediate, collect, csiIntermediate);
    t.add(r(0x30, 0x40), csiIntermediate, ignore, csiIgnore);
    t.add(r(0x40, 0x7F), csiIntermediate, csiDispatch, ground);
    t.add(0x7F, csiIntermediate, ignore, csiIntermediate);

    t.add(r(0x20, 0x40), csiIgnore, ignore, csiIgnore);
    t.add(r(0x40, 0x7F), csiIgnore, ignore, ground);
    t.add(0x7F, csiIgnore, ignore, csiIgnore);

    // SOS, PM
    t.add(r(0x20, 0x80), sosPmApcString, ignore, sosPmApcString);

    // OSC and APC strings
    for (ParserState state : {oscString, apcString}) {
        t.add(r(0x20, 0x80), state, oscPut, state);
        t.add(0xA0, state, oscPut, state);
        for (std::uint8_t code : {0x07, 0x18, 0x1A, 0x1B, 0x9C})
            t.add(code, state, oscEnd, ground);
    }

    // DCS
    t.add(r(0x20, 0x30), dcsEntry, collect, dcsIntermediate);
    t.add(r(0x30, 0x3A), dcsEntry, param, dcsParam);
    t.add(0x3A, dcsEntry, ignore, dcsIgnore);
    t.add(0x3B, dcsEntry, param, dcsParam);
    t.add(r(0x3C, 0x40), dcsEntry, collect, dcsParam);
    t.add(r(0x40, 0x7F), dcsEntry, dcsHook, dcsPassthrough);
    t.add(0x7F, dcsEntry, ignore, dcsEntry);

    t.add(r(0x20, 0x30), dcsParam, collect, dcsIntermediate);
    t.add(r(0x30, 0x3A), dcsParam, param, dcsParam);
    t.add(0x3A, dcsParam, ignore, dcsIgnore);
    t.add(0x3B, dcsParam, param, dcsParam);
    t.add(r(0x3C, 0x40), dcsParam, ignore, dcsIgnore);
    t.add(r(0x40, 0x7F), dcsParam, dcsHook, dcsPassthrough);
    t.add(0x7F, dcsParam, ignore, dcsParam);

    t.add(r(0x20, 0x80), dcsIgnore, ignore, dcsIgnore);

    t.add(r(0x20, 0x30), dcsIntermediate, collect, dcsIntermediate);
    t.add(r(0x30, 0x40), dcsIntermediate, ignore, dcsIgnore);
    t.add(r(0x40, 0x7F), dcsIntermediate, dcsHook, dcsPassthrough);
    t.add(0x7F, dcsIntermediate, ignore, dcsIntermediate);

    t.add(r(0x20, 0x7F), dcsPassthrough, dcsPut, dcsPassthrough);
    t.add(0x7F, dcsPassthrough, ignore, dcsPassthrough);
    t.add(0x1B, dcsPassthrough, dcsUnhook, ground);
    t.add(0x9C, dcsPassthrough, dcsUnhook, ground);
    return t;
}

inline constexpr TransitionTable vt500TransitionTable = buildVt500TransitionTable();

} // namespace brevlin
