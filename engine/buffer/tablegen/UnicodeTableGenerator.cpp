// Generates the character-width tables from the Unicode Character Database.
// Usage: unicode_table_generator <folder with UnicodeData.txt, EastAsianWidth.txt and emoji/> <output.h>

#include "engine/buffer/UnicodeWidthRules.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Range = std::pair<std::uint32_t, std::uint32_t>;

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(line.substr(0, line.find('#')));
    while (std::getline(stream, field, ';'))
        fields.push_back(trim(field));
    return fields;
}

// "1100..115F" or "231A".
Range parseRange(const std::string& text)
{
    const auto dots = text.find("..");
    if (dots == std::string::npos) {
        const auto value = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
        return {value, value};
    }
    return {static_cast<std::uint32_t>(std::stoul(text.substr(0, dots), nullptr, 16)),
        static_cast<std::uint32_t>(std::stoul(text.substr(dots + 2), nullptr, 16))};
}

std::ifstream openOrDie(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        std::cerr << "cannot read " << path << '\n';
        std::exit(1);
    }
    return file;
}

std::vector<Range> merge(std::set<std::uint32_t> const& points)
{
    std::vector<Range> ranges;
    for (std::uint32_t point : points) {
        if (!ranges.empty() && ranges.back().second + 1 == point)
            ranges.back().second = point;
        else
            ranges.push_back({point, point});
    }
    return ranges;
}

void addRange(std::set<std::uint32_t>& points, Range range)
{
    for (std::uint32_t point = range.first; point <= range.second; ++point)
        points.insert(point);
}

// Scalars that occupy no column of their own: marks, line and paragraph separators, and format
// characters other than the soft hyphen. Emoji modifiers are added from the emoji data.
std::set<std::uint32_t> zeroWidthFromUnicodeData(const std::string& folder)
{
    std::ifstream file = openOrDie(folder + "/UnicodeData.txt");
    std::set<std::uint32_t> points;
    std::string line;
    std::uint32_t rangeStart = 0;
    while (std::getline(file, line)) {
        const auto fields = splitFields(line);
        if (fields.size() < 3)
            continue;
        const auto code = static_cast<std::uint32_t>(std::stoul(fields[0], nullptr, 16));
        const std::string& category = fields[2];
        Range range {code, code};
        if (fields[1].find(", First>") != std::string::npos) {
            rangeStart = code;
            continue;
        }
        if (fields[1].find(", Last>") != std::string::npos)
            range.first = rangeStart;
        const bool zeroWidth = category == "Mn" || category == "Mc" || category == "Me" || category == "Zl"
            || category == "Zp" || (category == "Cf" && code != 0x00AD);
        if (zeroWidth)
            addRange(points, range);
    }
    return points;
}

std::set<std::uint32_t> propertyPoints(const std::string& path, const std::string& property)
{
    std::ifstream file = openOrDie(path);
    std::set<std::uint32_t> points;
    std::string line;
    while (std::getline(file, line)) {
        const auto fields = splitFields(line);
        if (fields.size() >= 2 && fields[1] == property)
            addRange(points, parseRange(fields[0]));
    }
    return points;
}

// Scalars that have an emoji presentation sequence (scalar followed by U+FE0F).
std::set<std::uint32_t> emojiVariationBases(const std::string& path)
{
    std::ifstream file = openOrDie(path);
    std::set<std::uint32_t> points;
    std::string line;
    while (std::getline(file, line)) {
        const auto fields = splitFields(line);
        if (fields.empty() || fields[0].find("FE0F") == std::string::npos)
            continue;
        points.insert(static_cast<std::uint32_t>(std::stoul(fields[0], nullptr, 16)));
    }
    return points;
}

void writeTable(std::ostream& out, const char* name, const std::vector<Range>& ranges)
{
    out << "inline constexpr UnicodeUtil::LH " << name << "[] = {\n";
    for (const auto& [lo, hi] : ranges) {
        char text[48];
        std::snprintf(text, sizeof text, "    {0x%X, 0x%X},\n", lo, hi);
        out << text;
    }
    out << "};\n\n";
}

std::vector<brevlin::UnicodeUtil::LH> toTable(const std::vector<Range>& ranges)
{
    std::vector<brevlin::UnicodeUtil::LH> table;
    for (const auto& [lo, hi] : ranges)
        table.push_back({lo, hi});
    return table;
}

void writeBasicPlaneWidths(std::ostream& out, const std::vector<Range>& zeroWidth, const std::vector<Range>& wide)
{
    const auto zeroTable = toTable(zeroWidth);
    const auto wideTable = toTable(wide);
    std::vector<std::uint8_t> packed(brevlin::basicPlaneSize / 4, 0);
    for (char32_t rune = 0; rune < static_cast<char32_t>(brevlin::basicPlaneSize); ++rune) {
        const int width = brevlin::widthByRules(rune, zeroTable, wideTable);
        const auto code = static_cast<std::uint8_t>(width < 0 ? 3 : width);
        packed[rune / 4] = static_cast<std::uint8_t>(packed[rune / 4] | (code << (rune % 4 * 2)));
    }
    out << "inline constexpr std::uint8_t basicPlaneWidths[" << packed.size() << "] = {";
    for (std::size_t i = 0; i < packed.size(); ++i)
        out << (i % 32 == 0 ? "\n    " : " ") << int(packed[i]) << ',';
    out << "\n};\n\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: unicode_table_generator <unicode folder> <output.h>\n";
        return 2;
    }
    const std::string folder = argv[1];

    std::set<std::uint32_t> zeroWidth = zeroWidthFromUnicodeData(folder);
    const auto modifiers = propertyPoints(folder + "/emoji/emoji-data.txt", "Emoji_Modifier");
    zeroWidth.insert(modifiers.begin(), modifiers.end());

    std::set<std::uint32_t> wide = propertyPoints(folder + "/EastAsianWidth.txt", "W");
    const auto fullwidth = propertyPoints(folder + "/EastAsianWidth.txt", "F");
    wide.insert(fullwidth.begin(), fullwidth.end());

    const auto vs16Bases = emojiVariationBases(folder + "/emoji/emoji-variation-sequences.txt");

    std::ofstream out(argv[2]);
    out << "// Generated by unicode_table_generator from the Unicode Character Database. Do not edit.\n\n"
        << "#pragma once\n\n"
        << "#include \"engine/buffer/UnicodeUtil.h\"\n\n"
        << "#include <cstdint>\n\n"
        << "namespace brevlin::unicode_ranges {\n\n";
    writeTable(out, "eastAsianWide", merge(wide));
    writeTable(out, "zeroWidth", merge(zeroWidth));
    writeTable(out, "emojiVs16Base", merge(vs16Bases));
    writeBasicPlaneWidths(out, merge(zeroWidth), merge(wide));
    out << "} // namespace brevlin::unicode_ranges\n";
    return out ? 0 : 1;
}
