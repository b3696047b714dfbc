#include "engine/terminal/EscapeSequenceParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevlin {
namespace {

std::string text(ByteSpan data) { return std::string(data.begin(), data.end()); }

std::string list(const auto& values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + std::to_string(static_cast<long long>(values[i]));
    return out + "]";
}

// Records every dispatch as one line of text, so a test compares a whole event sequence.
class RecordingParser : public EscapeSequenceParser {
public:
    struct RecordingDcs : DcsHandler {
        explicit RecordingDcs(std::vector<std::string>& log)
            : events(log)
        {
        }
        void hook(const std::vector<std::uint8_t>& collect, const std::vector<std::int64_t>& pars, std::uint8_t flag) override
        {
            events.push_back("hook " + std::string(collect.begin(), collect.end()) + list(pars) + char(flag));
        }
        void put(ByteSpan data) override { events.push_back("put " + text(data)); }
        void unhook() override { events.push_back("unhook"); }
        std::vector<std::string>& events;
    };

    RecordingParser()
        : EscapeSequenceParser(nullptr)
    {
        printHandler = [this](ByteSpan data) { events.push_back("print " + text(data)); };
        errorHandler = [this](ParsingState state) {
            events.push_back("error " + std::to_string(state.code));
            state.abort = abortOnError;
            return state;
        };
    }

    void feed(const std::string& bytes) { parse(ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())); }

    std::vector<std::string> events;
    std::vector<std::uint8_t> lastSeparators;
    bool abortOnError = false;

protected:
    void dispatchExecute(std::uint8_t code) override { events.push_back("exec " + std::to_string(code)); }
    void dispatchCsi(std::uint8_t code, const std::vector<std::int64_t>& pars, const std::vector<std::uint8_t>& collect) override
    {
        lastSeparators = parameterSeparators();
        events.push_back("csi " + std::string(collect.begin(), collect.end()) + list(pars) + char(code));
    }
    void dispatchEsc(const std::vector<std::uint8_t>& collect, std::uint8_t code) override
    {
        events.push_back("esc " + std::string(collect.begin(), collect.end()) + char(code));
    }
    void dispatchOsc(std::int64_t code, ByteSpan data) override
    {
        events.push_back("osc " + std::to_string(code) + " " + text(data));
    }
    void dispatchApc(std::uint8_t command, ByteSpan content) override
    {
        events.push_back("apc " + std::string(1, char(command)) + " " + text(content));
    }
    void dispatchDcs(const std::vector<std::uint8_t>& collect, std::uint8_t code, const std::vector<std::int64_t>& pars) override
    {
        activeDcsHandler = std::make_unique<RecordingDcs>(events);
        activeDcsHandler->hook(collect, pars, code);
    }
};

using Events = std::vector<std::string>;

struct StreamCase {
    const char* name;
    std::string input;
    Events expected;
    friend void PrintTo(const StreamCase& c, std::ostream* out) { *out << c.name; }
};

class ParserStreams : public testing::TestWithParam<StreamCase> {};

TEST_P(ParserStreams, DispatchesTheExpectedEvents)
{
    RecordingParser parser;
    parser.feed(GetParam().input);
    EXPECT_EQ(parser.events, GetParam().expected);
}

TEST_P(ParserStreams, GivesTheSameEventsFedOneByteAtATime)
{
    RecordingParser whole;
    whole.feed(GetParam().input);
    RecordingParser split;
    for (char byte : GetParam().input)
        split.feed(std::string(1, byte));
    // Print runs and DCS payload are handed on per call, so compare only the other events.
    auto withoutSlices = [](const Events& events) {
        Events kept;
        for (const std::string& event : events)
            if (event.rfind("print", 0) != 0 && event.rfind("put", 0) != 0)
                kept.push_back(event);
        return kept;
    };
    EXPECT_EQ(withoutSlices(split.events), withoutSlices(whole.events));
}

const std::string esc = "\x1b";
const std::string bigNines(20, '9');

INSTANTIATE_TEST_SUITE_P(Streams, ParserStreams,
    testing::Values(
        StreamCase {"Sgr", esc + "[31m", {"csi [31]m"}},
        StreamCase {"PrintThenControl", "ab\ncd", {"print ab", "exec 10", "print cd"}},
        StreamCase {"OscWithBel", esc + "]0;title\a", {"osc 0 title"}},
        StreamCase {"OscWithStringTerminator", esc + "]0;title" + esc + "\\x", {"osc 0 title", "esc \\", "print x"}},
        StreamCase {"EightBitStInsideOscIsData", esc + "]0;ti\x9ctle\a", {"osc 0 ti\x9ctle"}},
        StreamCase {"EightBitOscInGroundIsText", "\x9d" "0;t\a", {"print \x9d" "0;t", "exec 7"}},
        StreamCase {"EmptyOscDispatchesNothing", esc + "]" + esc + "\\", {"esc \\"}},
        StreamCase {"OscCancelled", esc + "]2;a\x18" "b", {"print b"}},
        StreamCase {"SubSkippedInsideOsc", esc + "]2;a\x1a" "b\a", {"osc 2 ab"}},
        StreamCase {"OverlongOscNumberIsUnknownNotZero", esc + "]12345678901234567890;x\a", {"osc 2147483647 x"}},
        StreamCase {"OverlongParameterSaturates", esc + "[" + bigNines + "A", {"csi [2147483647]A"}},
        StreamCase {"ColonSubParameters", esc + "[38:2:10:20:30m", {"csi [38,2,10,20,30]m"}},
        StreamCase {"LeadingSeparator", esc + "[;5H", {"csi [0,5]H"}},
        StreamCase {"PrivateMarker", esc + "[?25h", {"csi ?[25]h"}},
        StreamCase {"MarkerAfterDigitsIsIgnored", esc + "[25?hx", {"print x"}},
        StreamCase {"ColonRightAfterCsiIsAnError", esc + "[:1mx", {"error 58", "print 1mx"}},
        StreamCase {"C1BytesInGroundAreText", "\xc3\xa9\x85", {"print \xc3\xa9\x85"}},
        StreamCase {"EightBitCsiAfterEsc", esc + "\x9b" "2J", {"csi [2]J"}},
        StreamCase {"Decrqss", esc + "P$qm" + esc + "\\", {"hook $[0]q", "put m", "unhook", "esc \\"}},
        StreamCase {"ApcKitty", esc + "_Ga=q" + esc + "\\", {"apc G a=q", "esc \\"}},
        StreamCase {"ApcOther", esc + "_Xy" + esc + "\\", {"apc X y", "esc \\"}},
        StreamCase {"EmptyApc", esc + "_" + esc + "\\", {"esc \\"}},
        StreamCase {"SosSwallowed", esc + "Xany" + esc + "\\z", {"esc \\", "print z"}},
        StreamCase {"PmSwallowed", esc + "^any" + esc + "\\z", {"esc \\", "print z"}},
        StreamCase {"EmBetweenText", "a\x19" "b", {"error 25", "print a\x19" "b"}},
        StreamCase {"CanInsideCsiExecutes", esc + "[3\x18" "1m", {"exec 24", "csi [31]m"}},
        StreamCase {"SubAbandonsCsi", esc + "[3\x1a" "1m", {"exec 26", "print 1m"}},
        StreamCase {"TooManyParametersAreDropped", esc + "[" + std::string(40, ';') + "m" + "x", {"print x"}},
        StreamCase {"ThirtyTwoParametersPass", esc + "[" + std::string(31, ';') + "m",
            {"csi [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]m"}},
        StreamCase {"TooManyCsiIntermediatesAreDropped", esc + "[1 !\"#$%qx", {"print x"}},
        StreamCase {"TooManyEscIntermediatesAreDropped", esc + " !\"#$Fx", {"print x"}},
        StreamCase {"FourEscIntermediatesPass", esc + " !\"#F", {"esc  !\"#F"}}),
    [](const testing::TestParamInfo<StreamCase>& info) { return info.param.name; });

TEST(EscapeSequenceParser, KeepsParameterSeparatorsForTheHandler)
{
    RecordingParser parser;
    parser.feed(esc + "[38:2:10;20m");
    EXPECT_EQ(parser.lastSeparators, (std::vector<std::uint8_t> {':', ':', ';'}));
}

TEST(EscapeSequenceParser, HandsDcsPayloadOnPerCallAndUnhooksOnce)
{
    RecordingParser parser;
    parser.feed(esc + "Pq#0;2");
    parser.feed("!10~" + esc + "\\");
    EXPECT_EQ(parser.events, (Events {"hook [0]q", "put #0;2", "put !10~", "unhook", "esc \\"}));
}

TEST(EscapeSequenceParser, EmInsideDcsPayloadKeepsTheHandlerHooked)
{
    RecordingParser parser;
    parser.feed(esc + "Pqab\x19" "cd");
    EXPECT_EQ(parser.events, (Events {"hook [0]q", "error 25", "print cd"}));
    EXPECT_NE(parser.activeDcsHandler, nullptr);
}

TEST(EscapeSequenceParser, AbortingErrorHandlerRestoresTheStateOfTheCall)
{
    RecordingParser parser;
    parser.feed(esc + "[1");
    parser.abortOnError = true;
    parser.feed("2\x19" "3m");
    EXPECT_EQ(parser.events, (Events {"error 25"}));
    parser.abortOnError = false;
    parser.feed("5m");
    EXPECT_EQ(parser.events.back(), "csi [15]m");
}

TEST(EscapeSequenceParser, DropsAnOscPastItsCapAndRecovers)
{
    RecordingParser parser;
    parser.feed(esc + "]2;" + std::string(EscapeSequenceParser::maxStringBytes + 10, 'a') + "\a");
    EXPECT_TRUE(parser.events.empty());
    parser.feed(esc + "]2;ok\a");
    EXPECT_EQ(parser.events, (Events {"osc 2 ok"}));
}

TEST(EscapeSequenceParser, AllowsLargePayloadsForClipboardStrings)
{
    RecordingParser parser;
    const std::size_t size = EscapeSequenceParser::maxStringBytes + 10;
    parser.feed(esc + "]52;c;" + std::string(size, 'Q') + "\a");
    ASSERT_EQ(parser.events.size(), 1u);
    EXPECT_EQ(parser.events[0].size(), std::string("osc 52 c;").size() + size);
}

TEST(EscapeSequenceParser, ResetDropsAPartialSequenceAndTheDcsHandler)
{
    RecordingParser parser;
    parser.feed(esc + "Pqab");
    parser.reset();
    parser.feed("m");
    EXPECT_EQ(parser.activeDcsHandler, nullptr);
    EXPECT_EQ(parser.events.back(), "print m");
}

TEST(EscapeSequenceParser, ParseIntReadsLeadingDigitsAndSaturates)
{
    auto parse = [](const std::string& s) {
        return EscapeSequenceParser::parseInt(ByteSpan(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
    };
    EXPECT_EQ(parse("1337;x"), 1337);
    EXPECT_EQ(parse(""), 0);
    EXPECT_EQ(parse("x12"), 0);
    EXPECT_EQ(parse(bigNines), EscapeSequenceParser::maxParameterValue);
}

} // namespace
} // namespace brevlin
