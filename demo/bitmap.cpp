#include "demo/bitmap.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace drapeline::demo {

namespace {

void le16(ByteText& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void le32(ByteText& out, std::uint32_t v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

ByteText bitmapFile(int width, int height, int bitsPerPixel, const std::vector<Rgb>& palette,
                    const std::function<void(ByteText&, int x, int y)>& putPixel) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("bitmap needs a size");
    const int rowBytes = (width * bitsPerPixel / 8 + 3) / 4 * 4;
    const auto pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
    const auto dataOffset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
    ByteText out;
    out.reserve(dataOffset + pixelBytes);
    out += "BM";
    le32(out, dataOffset + pixelBytes);
    le32(out, 0);
    le32(out, dataOffset);
    le32(out, 40);
    le32(out, static_cast<std::uint32_t>(width));
    le32(out, static_cast<std::uint32_t>(height));   // positive: rows bottom-up
    le16(out, 1);
    le16(out, static_cast<std::uint32_t>(bitsPerPixel));
    le32(out, 0);   // uncompressed
    le32(out, pixelBytes);
    le32(out, 2835);   // 72 dpi
    le32(out, 2835);
    le32(out, static_cast<std::uint32_t>(palette.size()));
    le32(out, 0);
    for (const auto& c : palette) {
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        out += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto rowStart = out.size();
        for (int x = 0; x < width; ++x) putPixel(out, x, y);
        out.append(static_cast<std::size_t>(rowBytes) - (out.size() - rowStart), '\0');
    }
    return out;
}

std::uint32_t packed(Rgb c) { return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b; }
Rgb unpacked(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
}
std::uint32_t bucketOf(Rgb c) { return (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3); }

int distance2(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr * 3 + dg * dg * 4 + db * db * 2;   // green weighs most to the eye
}

// The palette and, for each pixel, its entry.
std::pair<std::vector<Rgb>, std::vector<std::uint8_t>> quantised(const Canvas& canvas) {
    const auto& pixels = canvas.pixels();
    std::map<std::uint32_t, std::size_t> exact;
    for (const Rgb c : pixels) {
        exact.emplace(packed(c), 0);
        if (exact.size() > 256) break;
    }
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices(pixels.size());
    if (exact.size() <= 256) {
        for (auto& [value, slot] : exact) {
            slot = palette.size();
            palette.push_back(unpacked(value));
        }
        for (std::size_t i = 0; i < pixels.size(); ++i)
            indices[i] = static_cast<std::uint8_t>(exact[packed(pixels[i])]);
        return {palette, indices};
    }
    // Popularity at 5 bits a channel; each bucket is represented by its mean colour.
    struct Bucket {
        std::uint64_t count = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Bucket> buckets(32768);
    for (const Rgb c : pixels) {
        Bucket& k = buckets[bucketOf(c)];
        ++k.count;
        k.r += c.r;
        k.g += c.g;
        k.b += c.b;
    }
    std::vector<std::uint32_t> used;
    for (std::uint32_t i = 0; i < buckets.size(); ++i)
        if (buckets[i].count) used.push_back(i);
    std::stable_sort(used.begin(), used.end(), [&](std::uint32_t a, std::uint32_t b) {
        return buckets[a].count > buckets[b].count;
    });
    used.resize(std::min<std::size_t>(used.size(), 256));
    std::sort(used.begin(), used.end());
    for (const std::uint32_t i : used) {
        const Bucket& k = buckets[i];
        palette.push_back({static_cast<std::uint8_t>(k.r / k.count),
                           static_cast<std::uint8_t>(k.g / k.count),
                           static_cast<std::uint8_t>(k.b / k.count)});
    }
    std::vector<int> nearest(32768, -1);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        int& slot = nearest[bucketOf(pixels[i])];
        if (slot < 0) {
            int best = 0;
            for (std::size_t p = 1; p < palette.size(); ++p)
                if (distance2(pixels[i], palette[p]) < distance2(pixels[i], palette[best]))
                    best = static_cast<int>(p);
            slot = best;
        }
        indices[i] = static_cast<std::uint8_t>(slot);
    }
    return {palette, indices};
}

}  // namespace

ByteText bitmap24(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    return bitmapFile(width, height, 24, {}, [&](ByteText& out, int x, int y) {
        const Rgb c = pixel(x, y);
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
    });
}

ByteText bitmap8(int width, int height, const std::vector<Rgb>& palette,
                 const std::function<std::uint8_t(int x, int y)>& index) {
    if (palette.empty() || palette.size() > 256) throw std::invalid_argument("palette size");
    return bitmapFile(width, height, 8, palette,
                      [&](ByteText& out, int x, int y) { out += static_cast<char>(index(x, y)); });
}

ByteText solidBitmap(int width, int height, Rgb colour) {
    return bitmap24(width, height, [colour](int, int) { return colour; });
}

ByteText encode24(const Canvas& canvas) {
    return bitmap24(canvas.width(), canvas.height(),
                    [&](int x, int y) { return canvas.at(x, y); });
}

ByteText encode8(const Canvas& canvas) {
    const auto [palette, indices] = quantised(canvas);
    const auto w = static_cast<std::size_t>(canvas.width());
    return bitmap8(canvas.width(), canvas.height(), palette, [&](int x, int y) {
        return indices[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    });
}

}  // namespace drapeline::demo
