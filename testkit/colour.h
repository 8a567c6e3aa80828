#pragma once
// Colours of the demo game's pictures.

#include <algorithm>
#include <cstdint>

namespace drapeline::testkit {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::uint8_t clampByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

// a at t = 0, b at t = 1.
inline Rgb mix(Rgb a, Rgb b, double t) {
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t)};
}

// factor < 1 darkens, > 1 lightens towards white.
inline Rgb shade(Rgb c, double factor) {
    if (factor <= 1.0) return {clampByte(c.r * factor), clampByte(c.g * factor), clampByte(c.b * factor)};
    return mix(c, {255, 255, 255}, std::min(1.0, factor - 1.0));
}

}  // namespace drapeline::testkit
