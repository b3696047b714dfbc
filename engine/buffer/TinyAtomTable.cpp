#include "engine/buffer/TinyAtomTable.h"

namespace brevlin {

std::optional<TinyAtom> TinyAtomTable::lookup(std::string value)
{
    if (lastUsed_ >= maxCode)
        return std::nullopt;
    ++lastUsed_;
    map_[lastUsed_] = std::move(value);
    return TinyAtom {lastUsed_};
}

const std::string* TinyAtomTable::target(TinyAtom atom) const
{
    if (atom.code == 0)
        return nullptr;
    const auto found = map_.find(atom.code);
    return found == map_.end() ? nullptr : &found->second;
}

void TinyAtomTable::release(std::uint16_t code)
{
    map_.erase(code);
}

} // namespace brevlin
