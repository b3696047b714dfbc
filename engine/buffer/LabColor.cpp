#include "engine/buffer/LabColor.h"

#include <algorithm>
#include <cmath>

namespace brevlin {

namespace {

constexpr double whiteX = 0.95047;
constexpr double whiteY = 1.0;
constexpr double whiteZ = 1.08883;

double linearise(std::uint16_t channel)
{
    const double byte = std::min(std::round(channel / 65535.0 * 255.0), 255.0);
    const double n = byte / 255.0;
    return n > 0.04045 ? std::pow((n + 0.055) / 1.055, 2.4) : n / 12.92;
}

double labCurve(double t)
{
    return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
}

double inverseLabCurve(double f)
{
    const double cube = f * f * f;
    return cube > 0.008856 ? cube : (f - 16.0 / 116.0) / 7.787;
}

std::uint16_t toChannel(double linear)
{
    double v = linear > 0.0031308 ? 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055 : 12.92 * linear;
    v = std::max(v, 0.0);
    const int byte = v >= 1.0 ? 255 : static_cast<int>(v * 255.0 + 0.5);
    return static_cast<std::uint16_t>(byte * 257);
}

} // namespace

LabColor LabColor::fromColor(const Color& color)
{
    const double r = linearise(color.red);
    const double g = linearise(color.green);
    const double b = linearise(color.blue);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / whiteX;
    const double y = (0.2126729 * r + 0.7151522 * g + 0.072175 * b) / whiteY;
    const double z = (0.0193339 * r + 0.119192 * g + 0.9503041 * b) / whiteZ;
    const double fx = labCurve(x);
    const double fy = labCurve(y);
    const double fz = labCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Color LabColor::toColor() const
{
    const double fy = (l + 16.0) / 116.0;
    const double fx = a / 500.0 + fy;
    const double fz = fy - b / 200.0;
    const double x = inverseLabCurve(fx) * whiteX;
    const double y = inverseLabCurve(fy) * whiteY;
    const double z = inverseLabCurve(fz) * whiteZ;
    const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    const double g = -0.969266 * x + 1.8760108 * y + 0.041556 * z;
    const double bl = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
    return {toChannel(r), toChannel(g), toChannel(bl)};
}

LabColor LabColor::lerp(const LabColor& from, const LabColor& to, double t)
{
    return {from.l + (to.l - from.l) * t, from.a + (to.a - from.a) * t, from.b + (to.b - from.b) * t};
}

} // namespace brevlin
