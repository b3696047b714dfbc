#include "engine/buffer/Attribute.h"
#include "engine/buffer/CharData.h"
#include "engine/buffer/TinyAtomTable.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace brevlin {
namespace {

using Color = Attribute::Color;

struct SgrCase {
    const char* name;
    Attribute attribute;
    const char* expected;
};

TEST(AttributeTest, ToSgrRendersStyleAndColours)
{
    const SgrCase cases[] = {
        {"null cell", CharData::Null.attribute, "0m"},
        {"bold red on bright blue", {Color::ansi256(1), Color::ansi256(12), CharacterStyle::bold}, "0;1;31;104m"},
        {"true colour on indexed", {Color::trueColor(1, 2, 3), Color::ansi256(200)}, "0;38;2;1;2;3;48;5;200m"},
        {"last base colour", {Color::ansi256(7), Color::defaultColor()}, "0;37m"},
        {"first bright colour", {Color::ansi256(8), Color::defaultColor()}, "0;90m"},
        {"first indexed colour", {Color::ansi256(16), Color::defaultColor()}, "0;38;5;16m"},
        {"inverted default background", Attribute::empty, "0m"},
        {"styles in order, unrepresented bits dropped",
            {Color::defaultColor(), Color::defaultColor(),
                CharacterStyle::invisible | CharacterStyle::inverse | CharacterStyle::blink | CharacterStyle::underline
                    | CharacterStyle::italic | CharacterStyle::dim | CharacterStyle::crossedOut,
                UnderlineStyle::curly, Color::ansi256(3)},
            "0;4;5;7;8m"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.attribute.toSgr(), test.expected) << test.name;
}

TEST(AttributeTest, EqualityAndHashCoverEveryField)
{
    const Attribute base {Color::ansi256(1), Color::trueColor(1, 2, 3)};
    Attribute withUnderlineColor = base;
    withUnderlineColor.setUnderlineColor(Color::defaultColor());
    Attribute withUnderlineStyle = base;
    withUnderlineStyle.underlineStyle = UnderlineStyle::dotted;

    EXPECT_NE(Attribute::empty, CharData::Null.attribute) << "their backgrounds differ";
    EXPECT_NE(Color::defaultColor(), Color::defaultInvertedColor());
    EXPECT_NE(Color::ansi256(1), Color::trueColor(0, 0, 1));
    EXPECT_NE(base, withUnderlineColor) << "an absent underline colour differs from the default colour";
    EXPECT_NE(base, withUnderlineStyle);

    const std::unordered_set<Attribute> set {base, withUnderlineColor, withUnderlineStyle, base};
    EXPECT_EQ(set.size(), 3u);
    EXPECT_EQ(withUnderlineColor.underlineColor(), Color::defaultColor());
    EXPECT_EQ(base.underlineColor(), std::nullopt);
}

TEST(AttributeTest, StyleSetAlgebraAndRawValues)
{
    const CharacterStyle boldItalic = CharacterStyle::bold | CharacterStyle::italic;
    EXPECT_EQ(boldItalic.rawValue, 65);
    EXPECT_TRUE(CharacterStyle::bold.isSubset(boldItalic));
    EXPECT_TRUE(boldItalic.isDisjoint(CharacterStyle::dim));
    EXPECT_EQ(boldItalic - CharacterStyle::bold, CharacterStyle::italic);
    EXPECT_EQ(CharacterStyle::fromAttributeWord(0x3 << 18), CharacterStyle::bold | CharacterStyle::underline);
    EXPECT_EQ(underlineStyleFromRawValue(5), UnderlineStyle::dashed);
    EXPECT_EQ(underlineStyleFromRawValue(6), std::nullopt);
}

TEST(CharDataTest, CharacterOfCode)
{
    const struct {
        std::int32_t code;
        char32_t character;
        bool simpleRune;
    } cases[] = {
        {0, U'\0', true},
        {'A', U'A', true},
        {0xD800, U' ', true},
        {0x110000, U' ', true},
        {0x3FFFFF, U' ', true},
        {0x400000, U' ', false},
        {CharData::firstInternedCode, U' ', false},
    };
    for (const auto& test : cases) {
        const CharData cell {test.code, 1, {}, {}};
        EXPECT_EQ(cell.getCharacter(), test.character) << test.code;
        EXPECT_EQ(cell.isSimpleRune(), test.simpleRune) << test.code;
    }
    EXPECT_EQ((CharData {0xE9, 1, {}, {}}).debugDescription(), "CharData: 233 \u00e9");
    EXPECT_EQ((CharData {0xD800, 1, {}, {}}).debugDescription(), "CharData: 55296 ?");
}

TEST(TinyAtomTableTest, CodesAreHandedOutOnceAndRunOut)
{
    TinyAtomTable table;
    const auto first = table.lookup("id=1;https://example.org");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->code, 1);
    EXPECT_EQ(*table.target(*first), "id=1;https://example.org");

    CharData cell;
    EXPECT_FALSE(cell.hasPayload());
    cell.setPayload(*first);
    EXPECT_EQ(*cell.getPayload(table), "id=1;https://example.org");

    table.release(first->code);
    EXPECT_EQ(table.target(*first), nullptr);
    EXPECT_EQ(table.target(TinyAtom {0}), nullptr);
    EXPECT_EQ(table.lookup("again")->code, 2) << "released codes are not reused";

    while (table.lastUsed() < TinyAtomTable::maxCode - 1)
        ASSERT_TRUE(table.lookup("x"));
    EXPECT_EQ(table.lookup("last")->code, TinyAtomTable::maxCode);
    EXPECT_EQ(table.lookup("none left"), std::nullopt);
    EXPECT_EQ(table.lastUsed(), TinyAtomTable::maxCode);
}

} // namespace
} // namespace brevlin
