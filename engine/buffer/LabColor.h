#pragma once

#include "engine/buffer/Color.h"

namespace brevlin {

// A CIE L*a*b* colour relative to the D65 white point; the palette builder interpolates in it.
struct LabColor {
    double l = 0;
    double a = 0;
    double b = 0;

    static LabColor fromColor(const Color& color);
    Color toColor() const;
    static LabColor lerp(const LabColor& from, const LabColor& to, double t);
};

} // namespace brevlin
