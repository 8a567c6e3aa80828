#pragma once
// Reads back the uncompressed bitmaps the demo game writes, independently of the writer,
// so that a test catches a writer that is wrong in a way it agrees with itself about.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "testkit/colour.h"

namespace drapeline::testkit {

struct DecodedBitmap {
    int width = 0, height = 0, bitsPerPixel = 0;
    std::size_t paletteSize = 0;
    std::vector<testkit::Rgb> pixels;   // top row first
    testkit::Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

inline std::uint32_t le(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// nullopt for anything that is not a whole 8- or 24-bit bitmap.
inline std::optional<DecodedBitmap> decodeBitmap(std::string_view b) {
    if (b.size() < 54 || b.substr(0, 2) != "BM" || le(b, 2, 4) != b.size()) return std::nullopt;
    DecodedBitmap d;
    d.width = static_cast<int>(le(b, 18, 4));
    d.height = static_cast<int>(le(b, 22, 4));
    d.bitsPerPixel = static_cast<int>(le(b, 28, 2));
    d.paletteSize = le(b, 46, 4);
    const std::size_t offset = le(b, 10, 4);
    if ((d.bitsPerPixel != 8 && d.bitsPerPixel != 24) || d.width <= 0 || d.height <= 0 ||
        le(b, 30, 4) != 0)
        return std::nullopt;
    const std::size_t row = static_cast<std::size_t>((d.width * d.bitsPerPixel / 8 + 3) / 4 * 4);
    if (offset + row * static_cast<std::size_t>(d.height) != b.size()) return std::nullopt;
    for (int y = 0; y < d.height; ++y) {
        const std::size_t start = offset + row * static_cast<std::size_t>(d.height - 1 - y);
        for (int x = 0; x < d.width; ++x) {
            std::size_t at = start + static_cast<std::size_t>(x) * 3;
            if (d.bitsPerPixel == 8) {
                const auto index = static_cast<unsigned char>(b[start + static_cast<std::size_t>(x)]);
                if (index >= d.paletteSize) return std::nullopt;
                at = 54 + 4 * std::size_t{index};
            }
            d.pixels.push_back({static_cast<std::uint8_t>(b[at + 2]), static_cast<std::uint8_t>(b[at + 1]),
                                static_cast<std::uint8_t>(b[at])});
        }
    }
    return d;
}

}  // namespace drapeline::testkit
