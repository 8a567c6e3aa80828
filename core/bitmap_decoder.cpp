#include "core/bitmap_decoder.h"

#include <algorithm>
#include <cstdint>

namespace drapeline {

namespace {

std::uint32_t u16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}
std::uint32_t u32(std::string_view b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }

}  // namespace

std::optional<RgbaImage> decodeBitmap(std::string_view b) {
    constexpr std::size_t FileHeader = 14;
    if (b.size() < FileHeader + 40 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t pixelOffset = u32(b, 10);
    const std::uint32_t infoSize = u32(b, 14);
    if (infoSize < 40 || infoSize > b.size() - FileHeader) return std::nullopt;
    const auto width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const std::uint32_t bits = u16(b, 28);
    const std::uint32_t compression = u32(b, 30);
    std::uint32_t colours = u32(b, 46);
    const bool topDown = rawHeight < 0;
    if (rawHeight == INT32_MIN) return std::nullopt;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > MaxTextureSide || height > MaxTextureSide) return std::nullopt;
    if (compression != 0 && !(compression == 3 && bits == 32)) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

    const bool paletted = bits <= 8;
    if (paletted && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    const std::size_t paletteAt = FileHeader + infoSize;
    const std::size_t paletteBytes = paletted ? std::size_t{colours} * 4 : 0;
    if (paletteAt + paletteBytes > b.size()) return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (pixelOffset < paletteAt + paletteBytes || pixelOffset > b.size() ||
        stride * static_cast<std::size_t>(height) > b.size() - pixelOffset)
        return std::nullopt;

    RgbaImage image(width, height);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::size_t src = pixelOffset + static_cast<std::size_t>(row) * stride;
        const std::int32_t y = topDown ? row : height - 1 - row;
        std::uint8_t* out = &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4];
        for (std::int32_t x = 0; x < width; ++x, out += 4) {
            std::size_t at = 0;   // a palette entry or the pixel's own bytes, both blue first
            if (paletted) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const auto byte = static_cast<std::uint8_t>(b[src + bit / 8]);
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                // An index beyond a short palette reads as its first colour.
                at = paletteAt + 4 * std::size_t{index < colours ? index : 0};
            } else {
                at = src + static_cast<std::size_t>(x) * (bits / 8);
            }
            out[0] = static_cast<std::uint8_t>(b[at + 2]);
            out[1] = static_cast<std::uint8_t>(b[at + 1]);
            out[2] = static_cast<std::uint8_t>(b[at]);
            out[3] = 255;
        }
    }
    return image;
}

}  // namespace drapeline
