#include "core/rgba_image.h"

#include <algorithm>

namespace drapeline {

RgbaImage::RgbaImage(int w, int h, Rgba fill) : width(w), height(h) {
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    this->fill(fill);
}

void RgbaImage::fill(Rgba c) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        pixels[i] = c.r;
        pixels[i + 1] = c.g;
        pixels[i + 2] = c.b;
        pixels[i + 3] = c.a;
    }
}

RgbaImage scaled(const RgbaImage& image, int w, int h) {
    RgbaImage out(w, h);
    if (image.width <= 0 || image.height <= 0) return out;
    for (int y = 0; y < h; ++y) {
        const int y0 = y * image.height / h, y1 = std::max(y0 + 1, (y + 1) * image.height / h);
        for (int x = 0; x < w; ++x) {
            const int x0 = x * image.width / w, x1 = std::max(x0 + 1, (x + 1) * image.width / w);
            unsigned sum[4] = {0, 0, 0, 0};
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const Rgba p = image.at(sx, sy);
                    sum[0] += p.r, sum[1] += p.g, sum[2] += p.b, sum[3] += p.a;
                }
            const unsigned n = static_cast<unsigned>((y1 - y0) * (x1 - x0));
            std::uint8_t* o = &out.pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4];
            for (int c = 0; c < 4; ++c) o[c] = static_cast<std::uint8_t>(sum[c] / n);
        }
    }
    return out;
}

}  // namespace drapeline
