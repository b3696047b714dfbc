#pragma once

#include "engine/buffer/TinyAtom.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace brevlin {

// The payloads that cells refer to by TinyAtom (the hyperlink text of OSC 8).
// Codes are handed out once each, from 1 to 65,534, and never reused: a cell that still holds
// an old code after its entry was collected can never be mistaken for a newer payload.
class TinyAtomTable {
public:
    static constexpr std::uint16_t maxCode = 65534;

    // Stores the value under a fresh code; nothing once every code has been handed out.
    std::optional<TinyAtom> lookup(std::string value);
    // The value stored under the atom's code, or null for code 0 and for codes not in the table.
    const std::string* target(TinyAtom atom) const;
    void release(std::uint16_t code);

    std::uint16_t lastUsed() const { return lastUsed_; }
    // Highest code up to which the terminal's collection pass has dropped unreferenced entries.
    std::uint16_t lastCollected = 0;

private:
    std::unordered_map<std::uint16_t, std::string> map_;
    std::uint16_t lastUsed_ = 0;
};

} // namespace brevlin
