#pragma once
// A decoded picture, as the dressed preview draws it and a window shows it: rows top to bottom,
// four bytes a pixel (red, green, blue, alpha), no padding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drapeline {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;   // width * height * 4

    RgbaImage() = default;
    RgbaImage(int w, int h, Rgba fill = {});
    Rgba at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
    }
    void fill(Rgba colour);
    std::size_t bytes() const { return pixels.size(); }
};

// A copy scaled to w x h by averaging the source pixels each target pixel covers, as the
// flat thumbnails are made.
RgbaImage scaled(const RgbaImage& image, int w, int h);

}  // namespace drapeline
