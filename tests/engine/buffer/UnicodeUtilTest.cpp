#include "engine/buffer/UnicodeUtil.h"
#include "engine/buffer/UnicodeWidthData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace brevlin {
namespace {

TEST(UnicodeUtilTest, ColumnWidthFollowsTheRuleOrder)
{
    const struct {
        char32_t rune;
        int width;
    } cases[] = {
        {U'\0', 0}, {U'A', 1}, {0x07, -1}, {0x7F, -1}, {0x85, -1}, {0xA0, 1}, {0xAD, 1},
        {0x200B, 0}, {0x2028, 0}, {0x2029, 0}, {0x0301, 0}, {0x20DD, 0}, {0x0903, 0},
        {0x1100, 2}, {0x115F, 2}, {0x1160, 0}, {0x11FF, 0}, {0xAC00, 2}, {0xD7A3, 2}, {0xD7B0, 0},
        {0x3099, 0}, {0x309B, 2},
        {0x1F1E6, 2}, {0x1F3FB, 0}, {0xFF3E, 2}, {0xFF40, 2}, {0xFFE3, 2}, {0xFF61, 1}, {0x5E, 1},
        {0x3FFFD, 2}, {0x3FFFE, 1}, {0x2FFFE, 1}, {0x1F600, 2}, {0x4E00, 2},
    };
    for (const auto& test : cases)
        EXPECT_EQ(UnicodeUtil::columnWidth(test.rune), test.width) << std::hex << std::uint32_t(test.rune);
}

TEST(UnicodeUtilTest, BisearchLooksOnlyUpToMax)
{
    const UnicodeUtil::LH table[] = {{0x10, 0x20}, {0x30, 0x30}, {0x40, 0x50}};
    EXPECT_EQ(UnicodeUtil::bisearch(0x30, table, 2), 1);
    EXPECT_EQ(UnicodeUtil::bisearch(0x45, table, 2), 1);
    EXPECT_EQ(UnicodeUtil::bisearch(0x45, table, 1), 0);
    EXPECT_EQ(UnicodeUtil::bisearch(0x25, table, 2), 0);
    EXPECT_EQ(UnicodeUtil::bisearch(0x05, table, 2), 0);
}

TEST(UnicodeUtilTest, LeadByteClasses)
{
    const struct {
        std::uint8_t byte;
        std::uint8_t value;
    } cases[] = {{0x00, 0xF0}, {0x7F, 0xF0}, {0x80, 0xF1}, {0xC1, 0xF1}, {0xC2, 0x02}, {0xDF, 0x02}, {0xE0, 0x13},
        {0xE1, 0x03}, {0xEC, 0x03}, {0xED, 0x23}, {0xEE, 0x03}, {0xEF, 0x03}, {0xF0, 0x34}, {0xF3, 0x04}, {0xF4, 0x44},
        {0xF5, 0xF1}, {0xFF, 0xF1}};
    for (const auto& test : cases)
        EXPECT_EQ(UnicodeUtil::first[test.byte], test.value) << int(test.byte);
}

// Every wide or fullwidth scalar of the Unicode data that is not a mark or a format character
// takes two columns, and nothing else outside the special rules does.
TEST(UnicodeUtilTest, AgreesWithEastAsianWidthData)
{
    std::ifstream file(TARNHOLD_UNICODE_DATA_DIR "/EastAsianWidth.txt");
    ASSERT_TRUE(file) << "unicode-data is installed by scripts/setup";
    std::vector<bool> wide(0x110000, false);
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        const auto semicolon = line.find(';');
        if (semicolon == std::string::npos)
            continue;
        std::string property = line.substr(semicolon + 1);
        property.erase(0, property.find_first_not_of(' '));
        property.erase(property.find_last_not_of(' ') + 1);
        if (property != "W" && property != "F")
            continue;
        const std::string range = line.substr(0, semicolon);
        const auto dots = range.find("..");
        const auto lo = std::stoul(range.substr(0, dots), nullptr, 16);
        const auto hi = dots == std::string::npos ? lo : std::stoul(range.substr(dots + 2), nullptr, 16);
        for (auto rune = lo; rune <= hi; ++rune)
            wide[rune] = true;
    }

    const auto zeroWidth = [](char32_t rune) {
        const auto& table = UnicodeWidthData::zeroWidth;
        return UnicodeUtil::bisearch(rune, table, static_cast<int>(table.size()) - 1) == 1;
    };
    int checked = 0;
    for (char32_t rune = 0xA0; rune < 0x110000; ++rune) {
        const bool jamo = (rune >= 0x1160 && rune <= 0x11FF) || (rune >= 0xD7B0 && rune <= 0xD7FF);
        const bool regionalIndicator = rune >= 0x1F1E6 && rune <= 0x1F1FF;
        if (zeroWidth(rune) || jamo || regionalIndicator)
            continue;
        ASSERT_EQ(UnicodeUtil::columnWidth(rune), wide[rune] ? 2 : 1) << std::hex << std::uint32_t(rune);
        ++checked;
    }
    EXPECT_GT(checked, 1000000);
}

} // namespace
} // namespace brevlin
