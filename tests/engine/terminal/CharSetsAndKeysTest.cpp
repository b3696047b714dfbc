#include "engine/terminal/CharSets.h"
#include "engine/terminal/CursorStyle.h"
#include "engine/terminal/EscapeSequences.h"
#include "engine/terminal/GraphemeTable.h"

#include <gtest/gtest.h>

namespace brevlin {
namespace {

TEST(CharSets, OffersSeventeenDesignatorsWithSharedTables)
{
    const auto& all = CharSets::all();
    EXPECT_EQ(all.size(), 17u);
    for (auto [alias, original] : {std::pair {'2', '0'}, {'C', '5'}, {'E', '6'}, {'H', '7'}})
        EXPECT_EQ(all.at(alias), all.at(original)) << alias;
    EXPECT_EQ(all.count('9'), 0u);
}

TEST(CharSets, MapsLineDrawingAndNationalBytes)
{
    const auto& graphics = CharSets::all().at('0');
    EXPECT_EQ(graphics.size(), 31u);
    EXPECT_EQ(graphics.at('l') + graphics.at('q') + graphics.at('k'), "\u250C\u2500\u2510");
    EXPECT_EQ(CharSets::all().at('A').at('#'), "\u00A3");
    EXPECT_TRUE(CharSets::all().at('B').empty());
    EXPECT_EQ(CharSets::all().at('4').at('|'), "f");
    EXPECT_EQ(CharSets::all().at('4').at(']'), "|");
    for (const auto& [designator, table] : CharSets::all())
        for (const auto& [byte, text] : table)
            EXPECT_TRUE(byte >= 0x23 && byte <= 0x7E) << designator;
}

TEST(EscapeSequences, UseSs3ForApplicationKeysAndFunctionKeysOneToFour)
{
    EXPECT_EQ(EscapeSequences::moveUpApp, (Bytes {0x1B, 'O', 'A'}));
    EXPECT_EQ(EscapeSequences::moveUpNormal, (Bytes {0x1B, '[', 'A'}));
    EXPECT_EQ(EscapeSequences::moveHomeApp, (Bytes {0x1B, 'O', 'H'}));
    EXPECT_EQ(EscapeSequences::moveEndNormal, (Bytes {0x1B, '[', 'F'}));
    EXPECT_EQ(EscapeSequences::cmdF[0], (Bytes {0x1B, 'O', 'P'}));
    EXPECT_EQ(EscapeSequences::cmdF[3], (Bytes {0x1B, 'O', 'S'}));
    EXPECT_EQ(EscapeSequences::cmdF[5], (Bytes {0x1B, '[', '1', '7', '~'}));
    EXPECT_EQ(EscapeSequences::cmdF[10], (Bytes {0x1B, '[', '2', '3', '~'}));
    EXPECT_EQ(EscapeSequences::bracketedPasteStart, (Bytes {0x1B, '[', '2', '0', '0', '~'}));
    EXPECT_EQ(EscapeSequences::bracketedPasteEnd, (Bytes {0x1B, '[', '2', '0', '1', '~'}));
}

TEST(CursorStyle, ParsesExactCaseNamesOnly)
{
    EXPECT_EQ(cursorStyleFromString("steadyBar"), CursorStyle::steadyBar);
    EXPECT_EQ(cursorStyleFromString("blinkBlock"), CursorStyle::blinkBlock);
    EXPECT_FALSE(cursorStyleFromString("SteadyBar").has_value());
    EXPECT_FALSE(cursorStyleFromString("").has_value());
}

TEST(GraphemeTable, KeepsBmpScalarsAndInternsTheRestOnce)
{
    GraphemeTable table;
    EXPECT_EQ(table.code(U"a"), 97);
    EXPECT_EQ(table.code(U"\u00E9"), 0xE9);
    EXPECT_EQ(table.code(U"\r\n"), 10);
    EXPECT_EQ(table.code(U"e\u0301"), 0x400001);
    EXPECT_EQ(table.code(U"e\u0301"), 0x400001);
    EXPECT_EQ(table.code(U"\U0001F600"), 0x400002);
    EXPECT_EQ(table.character(0x400001), U"e\u0301");
    EXPECT_EQ(table.character(0xD800), U" ");
    EXPECT_EQ(table.character(0x400000), U" ");
    EXPECT_EQ(table.character(0x400009), U" ");
}

} // namespace
} // namespace brevlin
