#pragma once

#include "engine/buffer/TerminalImage.h"

#include <memory>
#include <optional>

namespace brevlin {

// An image together with the cell size it was asked to occupy, when one was given.
struct ImageCell {
    explicit ImageCell(std::shared_ptr<TerminalImage> image) : image(std::move(image)) { }

    std::shared_ptr<TerminalImage> image;
    std::optional<int> width;
    std::optional<int> height;
};

} // namespace brevlin
