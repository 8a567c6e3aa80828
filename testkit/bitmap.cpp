#include "testkit/bitmap.h"

#include <algorithm>
#include <stdexcept>

#include "testkit/byte_writer.h"

namespace drapeline::testkit {

namespace {

// Everything before the pixel rows.
ByteText bitmapHeader(int width, int height, int bitsPerPixel, const std::vector<Rgb>& palette) {
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
    return out;
}

// Rows bottom-up, each padded to 4 bytes; `putRow` appends one row's pixels.
template <class PutRow>
ByteText bitmapFile(int width, int height, int bitsPerPixel, const std::vector<Rgb>& palette,
                    PutRow putRow) {
    ByteText out = bitmapHeader(width, height, bitsPerPixel, palette);
    const auto rowBytes = static_cast<std::size_t>((width * bitsPerPixel / 8 + 3) / 4 * 4);
    for (int y = height - 1; y >= 0; --y) {
        const auto rowStart = out.size();
        putRow(out, y);
        out.append(rowBytes - (out.size() - rowStart), '\0');
    }
    return out;
}

std::uint32_t bucketOf(Rgb c) {
    return static_cast<std::uint32_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
}

int distance2(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr * 3 + dg * dg * 4 + db * db * 2;   // green weighs most to the eye
}

// The picture's own colours, when it has at most 256; a small open-addressing table keeps
// this linear, which matters because every texture passes through here.
bool exactPalette(const std::vector<Rgb>& pixels, std::vector<Rgb>& palette,
                  std::vector<std::uint8_t>& indices) {
    constexpr std::size_t tableSize = 1024;   // a power of two, well above 256
    std::vector<std::uint32_t> keys(tableSize, 0);   // colour + 1; 0 = empty
    std::vector<std::uint8_t> slots(tableSize, 0);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Rgb c = pixels[i];
        const std::uint32_t key = (std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b) + 1;
        std::size_t at = (key * 2654435761u) & (tableSize - 1);
        while (keys[at] != 0 && keys[at] != key) at = (at + 1) & (tableSize - 1);
        if (keys[at] == 0) {
            if (palette.size() == 256) return false;
            keys[at] = key;
            slots[at] = static_cast<std::uint8_t>(palette.size());
            palette.push_back(c);
        }
        indices[i] = slots[at];
    }
    return true;
}

// The palette and, for each pixel, its entry.
std::pair<std::vector<Rgb>, std::vector<std::uint8_t>> quantised(const Canvas& canvas) {
    const auto& pixels = canvas.pixels();
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices(pixels.size());
    if (exactPalette(pixels, palette, indices)) return {palette, indices};
    palette.clear();
    // Popularity at 5 bits a channel; each bucket is represented by its mean colour.
    struct Bucket {
        std::uint32_t count = 0, r = 0, g = 0, b = 0;
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
    std::vector<int> nearest(32768, -1);
    for (const std::uint32_t i : used) {
        const Bucket& k = buckets[i];
        nearest[i] = static_cast<int>(palette.size());
        palette.push_back({static_cast<std::uint8_t>(k.r / k.count),
                           static_cast<std::uint8_t>(k.g / k.count),
                           static_cast<std::uint8_t>(k.b / k.count)});
    }
    // The rare colours go to their nearest kept colour, searched once per bucket.
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        int& slot = nearest[bucketOf(pixels[i])];
        if (slot < 0) {
            int best = 0, bestDistance = distance2(pixels[i], palette[0]);
            for (std::size_t p = 1; p < palette.size(); ++p) {
                const int d = distance2(pixels[i], palette[p]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<int>(p);
                }
            }
            slot = best;
        }
        indices[i] = static_cast<std::uint8_t>(slot);
    }
    return {palette, indices};
}

}  // namespace

ByteText bitmap24(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    return bitmapFile(width, height, 24, {}, [&](ByteText& out, int y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            out += static_cast<char>(c.b);
            out += static_cast<char>(c.g);
            out += static_cast<char>(c.r);
        }
    });
}

ByteText bitmap8(int width, int height, const std::vector<Rgb>& palette,
                 const std::function<std::uint8_t(int x, int y)>& index) {
    if (palette.empty() || palette.size() > 256) throw std::invalid_argument("palette size");
    return bitmapFile(width, height, 8, palette, [&](ByteText& out, int y) {
        for (int x = 0; x < width; ++x) out += static_cast<char>(index(x, y));
    });
}

ByteText solidBitmap(int width, int height, Rgb colour) {
    return bitmap24(width, height, [colour](int, int) { return colour; });
}

ByteText encode24(const Canvas& canvas) {
    const auto& pixels = canvas.pixels();
    const auto w = static_cast<std::size_t>(canvas.width());
    return bitmapFile(canvas.width(), canvas.height(), 24, {}, [&](ByteText& out, int y) {
        for (std::size_t i = static_cast<std::size_t>(y) * w, end = i + w; i < end; ++i) {
            const char bgr[3] = {static_cast<char>(pixels[i].b), static_cast<char>(pixels[i].g),
                                 static_cast<char>(pixels[i].r)};
            out.append(bgr, 3);
        }
    });
}

ByteText encode8(const Canvas& canvas) {
    const auto quantisedPicture = quantised(canvas);
    const auto& [palette, indices] = quantisedPicture;
    const std::vector<std::uint8_t>& rows = indices;   // lambdas may not capture a binding
    const auto w = static_cast<std::size_t>(canvas.width());
    return bitmapFile(canvas.width(), canvas.height(), 8, palette, [&](ByteText& out, int y) {
        out.append(reinterpret_cast<const char*>(rows.data()) + static_cast<std::size_t>(y) * w, w);
    });
}

}  // namespace drapeline::testkit
