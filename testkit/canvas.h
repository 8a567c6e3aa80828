#pragma once
// An RGB drawing surface for the demo game's pictures: portraits, clothing and hands.
// Shapes are anti-aliased at their edges (coverage from the distance to the edge), which
// is what makes 45-pixel portraits readable; rectangles stay sharp because seams and
// panels of a texture are meant to be crisp.

#include <vector>

#include "testkit/colour.h"

namespace drapeline::testkit {

// A repeating fabric. Coordinates are the canvas's, so two panels filled with one pattern
// line up like cloth cut from one piece.
struct Pattern {
    enum class Kind { Solid, Stripes, Checks, Dots, Flowers };
    Kind kind = Kind::Solid;
    Rgb base;
    Rgb accent;
    Rgb detail;          // flower centres, the crossing of checks
    int scale = 8;       // pixels per repeat
    bool diagonal = false;
    bool horizontal = false;

    Rgb at(int x, int y) const;
};

// What a shape is filled with: one colour or a pattern.
class Paint {
public:
    Paint(Rgb colour) : colour_(colour) {}   // NOLINT: implicit on purpose
    Paint(std::uint8_t r, std::uint8_t g, std::uint8_t b) : colour_{r, g, b} {}
    Paint(const Pattern& pattern) : pattern_(&pattern), colour_(pattern.base) {}   // NOLINT
    Rgb at(int x, int y) const { return pattern_ ? pattern_->at(x, y) : colour_; }
    bool solid() const { return pattern_ == nullptr; }

private:
    const Pattern* pattern_ = nullptr;   // not owned; lives as long as the draw call
    Rgb colour_;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Rgb colour);   // ignored outside the canvas
    void blend(int x, int y, Rgb colour, double alpha);

    void fill(const Paint& paint) { fillRect(0, 0, width_, height_, paint); }
    void fillRect(int x, int y, int w, int h, const Paint& paint);
    void fillRoundedRect(double x, double y, double w, double h, double radius,
                         const Paint& paint, double alpha = 1.0);
    void fillEllipse(double cx, double cy, double rx, double ry, const Paint& paint,
                     double alpha = 1.0);
    void fillCircle(double cx, double cy, double r, const Paint& paint, double alpha = 1.0) {
        fillEllipse(cx, cy, r, r, paint, alpha);
    }
    // A stroke with round ends.
    void line(double x0, double y0, double x1, double y1, double width, const Paint& paint,
              double alpha = 1.0);
    // Part of an ellipse's outline, angles in degrees, 0 = right, 90 = down.
    void arc(double cx, double cy, double rx, double ry, double fromDegrees, double toDegrees,
             double width, const Paint& paint, double alpha = 1.0);
    void verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
    // Darkens (factor < 1) or lightens everything inside the rectangle.
    void shadeRect(int x, int y, int w, int h, double factor);
    // A rectangle's outline, one pixel wide.
    void frame(int x, int y, int w, int h, Rgb colour);

    // Even-odd rule, sharp edges (draw large and reduce() for soft ones).
    struct Point {
        double x, y;
    };
    void fillPolygon(const std::vector<Point>& points, const Paint& paint);

    // Drawing stays inside the clip rectangle until it is reset.
    void clip(int x, int y, int w, int h);
    void resetClip() { clip(0, 0, width_, height_); }

    void blit(const Canvas& source, int x, int y);
    // Averages whole blocks: a picture drawn large and reduced keeps soft edges.
    Canvas reduced(int factor) const;

    const std::vector<Rgb>& pixels() const { return pixels_; }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    // Runs `coverage(x, y)` (0..1) over the clipped box and blends the paint.
    template <class Coverage>
    void fillCovered(double x0, double y0, double x1, double y1, const Paint& paint,
                     double alpha, Coverage coverage);

    bool inClip(int x, int y) const {
        return x >= clipLeft_ && y >= clipTop_ && x < clipRight_ && y < clipBottom_;
    }

    int width_;
    int height_;
    int clipLeft_ = 0, clipTop_ = 0, clipRight_, clipBottom_;
    std::vector<Rgb> pixels_;
};

}  // namespace drapeline::testkit
