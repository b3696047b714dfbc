#include "engine/buffer/Line.h"

namespace brevlin {

void Line::add(LineFragment fragment)
{
    length += fragment.length;
    fragments.push_back(std::move(fragment));
}

std::optional<int> Line::start() const
{
    if (fragments.empty())
        return std::nullopt;
    return fragments.front().line;
}

std::optional<int> Line::startLocation() const
{
    if (fragments.empty())
        return std::nullopt;
    return fragments.front().location;
}

std::string Line::toString() const
{
    std::string text;
    for (const LineFragment& fragment : fragments)
        text += fragment.text.value_or(std::string());
    return text;
}

std::optional<int> Line::getFragmentIndex(int position) const
{
    if (fragments.empty() || position < 0)
        return std::nullopt;
    int end = 0;
    for (std::size_t i = 0; i < fragments.size(); ++i) {
        end += fragments[i].length;
        if (position < end)
            return static_cast<int>(i);
    }
    return static_cast<int>(fragments.size()) - 1;
}

std::string Line::debugDescription() const
{
    if (fragments.empty())
        return "[]";
    std::string text = std::to_string(fragments.size()) + "/" + std::to_string(length) + ": [";
    for (const LineFragment& fragment : fragments) {
        const std::string piece = fragment.text.value_or(std::string());
        text += piece == "\n" ? std::string("\\n") : piece;
        text += "][";
    }
    return text;
}

} // namespace brevlin
