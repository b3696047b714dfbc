#include "engine/terminal/CharSets.h"

#include <string_view>
#include <utility>

namespace brevlin {

namespace {

std::string utf8(char32_t scalar)
{
    std::string out;
    if (scalar < 0x80) {
        out += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
        out += static_cast<char>(0xC0 | (scalar >> 6));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (scalar >> 12));
        out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    }
    return out;
}

CharacterSetTable table(std::initializer_list<std::pair<std::uint8_t, char32_t>> entries)
{
    CharacterSetTable result;
    for (const auto& [byte, scalar] : entries)
        result.emplace(byte, utf8(scalar));
    return result;
}

CharacterSetTable decSpecialGraphics()
{
    return table({{0x60, 0x25C6}, {'a', 0x2592}, {'b', 0x2409}, {'c', 0x240C}, {'d', 0x240D}, {'e', 0x240A},
        {'f', 0x00B0}, {'g', 0x00B1}, {'h', 0x2424}, {'i', 0x240B}, {'j', 0x2518}, {'k', 0x2510}, {'l', 0x250C},
        {'m', 0x2514}, {'n', 0x253C}, {'o', 0x23BA}, {'p', 0x23BB}, {'q', 0x2500}, {'r', 0x23BC}, {'s', 0x23BD},
        {'t', 0x251C}, {'u', 0x2524}, {'v', 0x2534}, {'w', 0x252C}, {'x', 0x2502}, {'y', 0x2264}, {'z', 0x2265},
        {'{', 0x03C0}, {0x7C, 0x2260}, {'}', 0x00A3}, {'~', 0x00B7}});
}

std::map<std::uint8_t, CharacterSetTable> buildAll()
{
    const CharacterSetTable graphics = decSpecialGraphics();
    const CharacterSetTable finnish = table({{'[', 0xC4}, {0x5C, 0xD6}, {']', 0xC5}, {'^', 0xDC}, {0x60, 0xE9},
        {'{', 0xE4}, {0x7C, 0xF6}, {'}', 0xE5}, {'~', 0xFC}});
    const CharacterSetTable norwegianDanish = table({{0x40, 0xC4}, {'[', 0xC6}, {0x5C, 0xD8}, {']', 0xC5}, {'^', 0xDC},
        {0x60, 0xE4}, {'{', 0xE6}, {0x7C, 0xF8}, {'}', 0xE5}, {'~', 0xFC}});
    const CharacterSetTable swedish = table({{0x40, 0xC9}, {'[', 0xC4}, {0x5C, 0xD6}, {']', 0xC5}, {'^', 0xDC},
        {0x60, 0xE9}, {'{', 0xE4}, {0x7C, 0xF6}, {'}', 0xE5}, {'~', 0xFC}});
    return {
        {'0', graphics},
        {'2', graphics},
        {'A', table({{'#', 0xA3}})},
        {'B', {}},
        {'4', table({{'#', 0xA3}, {0x40, 0xBE}, {'[', 0x133}, {0x5C, 0xBD}, {']', 0x7C}, {'{', 0xA8}, {0x7C, 0x66},
                  {'}', 0xBC}, {'~', 0xB4}})},
        {'5', finnish},
        {'C', finnish},
        {'R', table({{'#', 0xA3}, {0x40, 0xE0}, {'[', 0xB0}, {0x5C, 0xE7}, {']', 0xA7}, {'{', 0xE9}, {0x7C, 0xF9},
                  {'}', 0xE8}, {'~', 0xA8}})},
        {'Q', table({{0x40, 0xE0}, {'[', 0xE2}, {0x5C, 0xE7}, {']', 0xEA}, {'^', 0xEE}, {0x60, 0xF4}, {'{', 0xE9},
                  {0x7C, 0xF9}, {'}', 0xE8}, {'~', 0xFB}})},
        {'K', table({{0x40, 0xA7}, {'[', 0xC4}, {0x5C, 0xD6}, {']', 0xDC}, {'{', 0xE4}, {0x7C, 0xF6}, {'}', 0xFC},
                  {'~', 0xDF}})},
        {'Y', table({{'#', 0xA3}, {0x40, 0xA7}, {'[', 0xB0}, {0x5C, 0xE7}, {']', 0xE9}, {0x60, 0xF9}, {'{', 0xE0},
                  {0x7C, 0xF2}, {'}', 0xE8}, {'~', 0xEC}})},
        {'6', norwegianDanish},
        {'E', norwegianDanish},
        {'Z', table({{'#', 0xA3}, {0x40, 0xA7}, {'[', 0xA1}, {0x5C, 0xD1}, {']', 0xBF}, {'{', 0xB0}, {0x7C, 0xF1},
                  {'}', 0xE7}})},
        {'7', swedish},
        {'H', swedish},
        {'=', table({{'#', 0xF9}, {0x40, 0xE0}, {'[', 0xE9}, {0x5C, 0xE7}, {']', 0xEA}, {'^', 0xEE}, {'_', 0xE8},
                  {0x60, 0xF4}, {'{', 0xE4}, {0x7C, 0xF6}, {'}', 0xFC}, {'~', 0xFB}})},
    };
}

} // namespace

const std::map<std::uint8_t, CharacterSetTable>& CharSets::all()
{
    static const std::map<std::uint8_t, CharacterSetTable> sets = buildAll();
    return sets;
}

} // namespace brevlin
