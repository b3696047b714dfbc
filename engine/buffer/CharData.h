#pragma once

#include "engine/buffer/Attribute.h"
#include "engine/buffer/TinyAtom.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace brevlin {

class TinyAtomTable;

// One grid cell. `code` is a Unicode scalar below 0x400000 (0: nothing written) or, from
// 0x400001 up, the index of a text interned by the owning terminal.
struct CharData {
    static constexpr std::int32_t firstInternedCode = 0x400001;

    std::int32_t code = 0;
    // 1 for ordinary and empty cells, 2 for the first cell of a wide character, 0 for its continuation.
    std::int8_t width = 1;
    TinyAtom payload;
    Attribute attribute;

    // Code 0, width 1, default colours: the fill of new and resized rows.
    static const CharData Null;

    constexpr bool isSimpleRune() const { return code < 0x400000; }
    constexpr bool hasPayload() const { return payload.code != 0; }
    const std::string* getPayload(const TinyAtomTable& table) const;
    constexpr void setPayload(TinyAtom atom) { payload = atom; }
    constexpr void setValue(std::int32_t newCode, int size)
    {
        code = newCode;
        width = static_cast<std::int8_t>(size);
    }
    // The scalar of `code`, or a space when `code` is no scalar (interned codes are the terminal's).
    char32_t getCharacter() const;
    std::string debugDescription() const;

    friend constexpr bool operator==(const CharData&, const CharData&) = default;
};

inline constexpr CharData CharData::Null {};

static_assert(std::is_trivially_copyable_v<CharData>);
static_assert(sizeof(CharData) <= 24);

} // namespace brevlin
