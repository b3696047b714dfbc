#include "engine/buffer/CharData.h"

#include "engine/buffer/TinyAtomTable.h"
#include "engine/buffer/Utf8.h"

namespace brevlin {

const std::string* CharData::getPayload(const TinyAtomTable& table) const
{
    return table.target(payload);
}

char32_t CharData::getCharacter() const
{
    if (code < 0 || !isUnicodeScalar(static_cast<char32_t>(code)))
        return U' ';
    return static_cast<char32_t>(code);
}

std::string CharData::debugDescription() const
{
    std::string out = "CharData: " + std::to_string(code) + ' ';
    if (code >= 0 && isUnicodeScalar(static_cast<char32_t>(code)))
        appendUtf8(out, static_cast<char32_t>(code));
    else
        out += '?';
    return out;
}

} // namespace brevlin
