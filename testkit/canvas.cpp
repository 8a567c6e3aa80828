#include "testkit/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace drapeline::testkit {

namespace {

double coverageFromDistance(double distance) {
    const double c = 0.5 - distance;
    return c <= 0.0 ? 0.0 : c >= 1.0 ? 1.0 : c;
}

// std::hypot guards against overflow we can not have here, and is slow.
double length(double x, double y) { return std::sqrt(x * x + y * y); }

double distanceToSegment(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return length(px - (x0 + t * dx), py - (y0 + t * dy));
}

int positiveModulo(int value, int modulus) {
    const int m = value % modulus;
    return m < 0 ? m + modulus : m;
}

}  // namespace

Rgb Pattern::at(int x, int y) const {
    const int s = std::max(scale, 2);
    switch (kind) {
    case Kind::Solid:
        return base;
    case Kind::Stripes: {
        const int u = diagonal ? x + y : horizontal ? y : x;
        const int phase = positiveModulo(u, s);
        if (phase < s / 3) return accent;
        if (phase == s / 3 && detail != base) return detail;
        return base;
    }
    case Kind::Checks: {
        const bool across = positiveModulo(x, s) < s / 2;
        const bool down = positiveModulo(y, s) < s / 2;
        if (positiveModulo(x, s) == s - 1 || positiveModulo(y, s) == s - 1) return detail;
        if (across && down) return accent;
        if (across || down) return mix(base, accent, 0.45);
        return base;
    }
    case Kind::Dots:
    case Kind::Flowers: {
        const int row = static_cast<int>(std::floor(static_cast<double>(y) / s));
        const int shift = (row % 2 != 0) ? s / 2 : 0;
        const double cx = positiveModulo(x + shift, s) + 0.5 - s / 2.0;
        const double cy = positiveModulo(y, s) + 0.5 - s / 2.0;
        if (kind == Kind::Dots) {
            const double d = length(cx, cy) - s * 0.22;
            return mix(base, accent, coverageFromDistance(d));
        }
        static const auto petalDirections = [] {
            std::array<std::pair<double, double>, 5> all{};
            for (int i = 0; i < 5; ++i) {
                const double a = i * 2.0 * std::numbers::pi / 5.0 - std::numbers::pi / 2.0;
                all[static_cast<std::size_t>(i)] = {std::cos(a), std::sin(a)};
            }
            return all;
        }();
        Rgb out = base;
        double petals = 0.0;
        for (const auto& [dx, dy] : petalDirections) {
            const double d = length(cx - dx * s * 0.19, cy - dy * s * 0.19);
            petals = std::max(petals, coverageFromDistance(d - s * 0.13));
        }
        out = mix(out, accent, petals);
        return mix(out, detail, coverageFromDistance(length(cx, cy) - s * 0.08));
    }
    }
    return base;
}

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), clipRight_(width), clipBottom_(height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("a canvas needs a size");
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
}

void Canvas::set(int x, int y, Rgb colour) {
    if (!inClip(x, y)) return;
    pixels_[index(x, y)] = colour;
}

void Canvas::blend(int x, int y, Rgb colour, double alpha) {
    if (!inClip(x, y) || alpha <= 0.0) return;
    Rgb& p = pixels_[index(x, y)];
    if (alpha >= 1.0) {
        p = colour;
        return;
    }
    // In 256ths: this runs for every edge pixel of every shape.
    const int a = static_cast<int>(alpha * 256.0 + 0.5);
    const auto towards = [a](std::uint8_t from, std::uint8_t to) {
        return static_cast<std::uint8_t>(from + ((to - from) * a) / 256);
    };
    p = {towards(p.r, colour.r), towards(p.g, colour.g), towards(p.b, colour.b)};
}

template <class Coverage>
void Canvas::fillCovered(double x0, double y0, double x1, double y1, const Paint& paint,
                         double alpha, Coverage coverage) {
    const int left = std::max(clipLeft_, static_cast<int>(std::floor(x0)) - 1);
    const int top = std::max(clipTop_, static_cast<int>(std::floor(y0)) - 1);
    const int right = std::min(clipRight_ - 1, static_cast<int>(std::ceil(x1)) + 1);
    const int bottom = std::min(clipBottom_ - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double c = coverage(x + 0.5, y + 0.5);
            if (c > 0.0) blend(x, y, paint.at(x, y), c * alpha);
        }
}

void Canvas::fillRect(int x, int y, int w, int h, const Paint& paint) {
    const int left = std::max(clipLeft_, x), top = std::max(clipTop_, y);
    const int right = std::min(clipRight_, x + w), bottom = std::min(clipBottom_, y + h);
    for (int py = top; py < bottom; ++py) {
        if (paint.solid()) {
            if (left < right)
                std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(left, py)),
                          pixels_.begin() + static_cast<std::ptrdiff_t>(index(right - 1, py)) + 1,
                          paint.at(0, 0));
            continue;
        }
        for (int px = left; px < right; ++px) pixels_[index(px, py)] = paint.at(px, py);
    }
}

void Canvas::fillRoundedRect(double x, double y, double w, double h, double radius,
                             const Paint& paint, double alpha) {
    const double cx = x + w / 2, cy = y + h / 2;
    const double r = std::min({radius, w / 2, h / 2});
    const double hx = w / 2 - r, hy = h / 2 - r;
    fillCovered(x, y, x + w, y + h, paint, alpha, [&](double px, double py) {
        const double qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
        const double outside = length(std::max(qx, 0.0), std::max(qy, 0.0));
        return coverageFromDistance(outside + std::min(std::max(qx, qy), 0.0) - r);
    });
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, const Paint& paint,
                         double alpha) {
    if (rx <= 0 || ry <= 0) return;
    const auto coverage = [&](double px, double py) {
        const double dx = (px - cx) / rx, dy = (py - cy) / ry;
        const double f = length(dx, dy);
        if (f < 1e-9) return 1.0;
        // The implicit function's gradient turns its value into a distance in pixels.
        const double gradient = length(dx / rx, dy / ry) / f;
        return coverageFromDistance((f - 1.0) / gradient);
    };
    // Only the rim needs the coverage: a pixel inside the ellipse shrunk by a pixel and a
    // half is wholly covered.
    const double irx = rx - 1.5, iry = ry - 1.5;
    const int top = std::max(clipTop_, static_cast<int>(std::floor(cy - ry)) - 1);
    const int bottom = std::min(clipBottom_ - 1, static_cast<int>(std::ceil(cy + ry)) + 1);
    for (int y = top; y <= bottom; ++y) {
        const double py = y + 0.5;
        const double oy = (py - cy) / (ry + 1.0);
        if (oy * oy >= 1.0) continue;
        const double outer = (rx + 1.0) * std::sqrt(1.0 - oy * oy);
        double inner = -1.0;
        if (irx > 0 && iry > 0) {
            const double iy = (py - cy) / iry;
            if (iy * iy < 1.0) inner = irx * std::sqrt(1.0 - iy * iy);
        }
        const int left = std::max(clipLeft_, static_cast<int>(std::floor(cx - outer)));
        const int right = std::min(clipRight_ - 1, static_cast<int>(std::ceil(cx + outer)));
        for (int x = left; x <= right; ++x) {
            const double px = x + 0.5;
            const double c = inner > 0 && std::abs(px - cx) < inner ? 1.0 : coverage(px, py);
            if (c > 0.0) blend(x, y, paint.at(x, y), c * alpha);
        }
    }
}

void Canvas::line(double x0, double y0, double x1, double y1, double width, const Paint& paint,
                  double alpha) {
    const double half = width / 2;
    fillCovered(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half,
                std::max(y0, y1) + half, paint, alpha, [&](double px, double py) {
                    return coverageFromDistance(distanceToSegment(px, py, x0, y0, x1, y1) - half);
                });
}

void Canvas::arc(double cx, double cy, double rx, double ry, double fromDegrees,
                 double toDegrees, double width, const Paint& paint, double alpha) {
    constexpr int steps = 12;
    double xs[steps + 1], ys[steps + 1];
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (int i = 0; i <= steps; ++i) {
        const double a = (fromDegrees + (toDegrees - fromDegrees) * i / steps) * std::numbers::pi / 180.0;
        xs[i] = cx + std::cos(a) * rx;
        ys[i] = cy + std::sin(a) * ry;
        x0 = std::min(x0, xs[i]);
        x1 = std::max(x1, xs[i]);
        y0 = std::min(y0, ys[i]);
        y1 = std::max(y1, ys[i]);
    }
    const double half = width / 2;
    // One pass with the nearest segment, so joints are not blended twice.
    fillCovered(x0 - half, y0 - half, x1 + half, y1 + half, paint, alpha, [&](double px, double py) {
        double d = 1e9;
        for (int i = 0; i < steps; ++i)
            d = std::min(d, distanceToSegment(px, py, xs[i], ys[i], xs[i + 1], ys[i + 1]));
        return coverageFromDistance(d - half);
    });
}

void Canvas::verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int row = std::max(0, y); row < std::min(height_, y + h); ++row) {
        const Rgb c = mix(top, bottom, h > 1 ? static_cast<double>(row - y) / (h - 1) : 0.0);
        fillRect(x, row, w, 1, c);
    }
}

void Canvas::shadeRect(int x, int y, int w, int h, double factor) {
    for (int py = std::max(clipTop_, y); py < std::min(clipBottom_, y + h); ++py)
        for (int px = std::max(clipLeft_, x); px < std::min(clipRight_, x + w); ++px)
            pixels_[index(px, py)] = shade(pixels_[index(px, py)], factor);
}

void Canvas::frame(int x, int y, int w, int h, Rgb colour) {
    fillRect(x, y, w, 1, colour);
    fillRect(x, y + h - 1, w, 1, colour);
    fillRect(x, y, 1, h, colour);
    fillRect(x + w - 1, y, 1, h, colour);
}

void Canvas::fillPolygon(const std::vector<Point>& points, const Paint& paint) {
    if (points.size() < 3) return;
    double top = points[0].y, bottom = points[0].y;
    for (const auto& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = std::max(clipTop_, static_cast<int>(std::floor(top)));
         y < std::min(clipBottom_, static_cast<int>(std::ceil(bottom)) + 1); ++y) {
        const double py = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % points.size()];
            if ((a.y <= py) != (b.y <= py))
                crossings.push_back(a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = std::max(clipLeft_, static_cast<int>(std::ceil(crossings[i] - 0.5)));
                 x < std::min(clipRight_, static_cast<int>(std::ceil(crossings[i + 1] - 0.5))); ++x)
                pixels_[index(x, y)] = paint.at(x, y);
    }
}

void Canvas::clip(int x, int y, int w, int h) {
    clipLeft_ = std::max(0, x);
    clipTop_ = std::max(0, y);
    clipRight_ = std::min(width_, x + w);
    clipBottom_ = std::min(height_, y + h);
}

void Canvas::blit(const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy)
        for (int sx = 0; sx < source.width(); ++sx) set(x + sx, y + sy, source.at(sx, sy));
}

Canvas Canvas::reduced(int factor) const {
    if (factor <= 1) return *this;
    Canvas out(std::max(1, width_ / factor), std::max(1, height_ / factor));
    const double n = static_cast<double>(factor) * factor;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            double r = 0, g = 0, b = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgb c = at(x * factor + dx, y * factor + dy);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            out.set(x, y, {clampByte(r / n), clampByte(g / n), clampByte(b / n)});
        }
    return out;
}

}  // namespace drapeline::testkit
