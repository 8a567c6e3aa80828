#include "demo/textures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "testkit/random.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

using Kind = Pattern::Kind;

// Colour families that look like cloth rather than like a test card.
const std::vector<Rgb> everyday{
    {30, 45, 90},   {170, 30, 45},  {40, 100, 60},  {215, 170, 50}, {30, 130, 140},
    {110, 50, 110}, {240, 120, 95}, {120, 180, 230}, {55, 55, 60},  {190, 150, 100},
    {230, 150, 170}, {120, 120, 50}, {235, 130, 40}, {70, 100, 150}, {245, 245, 240},
    {150, 150, 155}};
const std::vector<Rgb> bright{{235, 60, 60},  {250, 200, 40}, {60, 170, 230}, {90, 200, 90},
                              {250, 130, 40}, {200, 90, 210}, {250, 120, 170}, {40, 190, 180}};
const std::vector<Rgb> trousers{{60, 85, 130}, {45, 60, 95},  {190, 165, 120}, {40, 40, 45},
                                {120, 120, 125}, {100, 70, 45}, {75, 90, 60}};
const std::vector<Rgb> suits{{25, 25, 30}, {50, 52, 58}, {30, 40, 75}, {70, 30, 40}, {60, 50, 40}};
const std::vector<Rgb> gowns{{160, 20, 40}, {20, 110, 80}, {40, 60, 170}, {100, 40, 120},
                             {25, 25, 30},  {225, 200, 150}, {200, 90, 140}};
const std::vector<Rgb> ties{{190, 30, 40}, {210, 170, 60}, {40, 120, 150}, {120, 40, 110},
                            {230, 230, 230}};
const std::vector<Rgb> pastels{{170, 205, 240}, {200, 185, 235}, {180, 230, 200},
                               {245, 190, 205}, {245, 235, 200}, {250, 230, 150}};
const std::vector<Rgb> knits{{170, 35, 40}, {35, 90, 55}, {35, 50, 95}, {200, 150, 45},
                             {110, 70, 50}, {90, 90, 100}};

Rgb otherThan(Random& random, const std::vector<Rgb>& colours, Rgb avoid) {
    Rgb c = random.pick(colours);
    for (int tries = 0; c == avoid && tries < 8; ++tries) c = random.pick(colours);
    return c == avoid ? shade(avoid, 1.5) : c;
}

Pattern fabric(Random& random, Kind kind, Rgb base, Rgb accent, int scale) {
    Pattern p;
    p.kind = kind;
    p.base = base;
    p.accent = accent;
    p.detail = kind == Kind::Flowers ? Rgb{250, 220, 80} : shade(base, 0.75);
    p.scale = scale;
    p.diagonal = kind == Kind::Stripes && random.chance(25);
    p.horizontal = kind == Kind::Stripes && !p.diagonal && random.chance(50);
    return p;
}

Kind anyKind(Random& random, bool flowers) {
    const int roll = random.between(0, flowers ? 99 : 79);
    if (roll < 25) return Kind::Solid;
    if (roll < 48) return Kind::Stripes;
    if (roll < 64) return Kind::Checks;
    if (roll < 80) return Kind::Dots;
    return Kind::Flowers;
}

// The layout of a texture in 128ths of its size: the pieces a garment is cut from.
struct Box {
    double x, y, w, h;
};
constexpr Box front{4, 4, 58, 58}, back{66, 4, 58, 58};
constexpr Box legLeft{4, 66, 28, 58}, legRight{34, 66, 28, 58};
constexpr Box sleeveLeft{66, 66, 18, 44}, sleeveRight{86, 66, 18, 44};
constexpr Box shoes{106, 66, 18, 24}, bare{106, 94, 18, 30}, band{66, 114, 38, 10};

class Sheet {
public:
    Sheet(int size) : canvas(size, size, {22, 22, 26}), k(size / 128.0) {}

    void fill(const Box& b, const Paint& paint) {
        canvas.fillRect(px(b.x), px(b.y), px(b.x + b.w) - px(b.x), px(b.y + b.h) - px(b.y), paint);
    }
    // Part of a box, from fraction `from` to `to` of its height.
    void fillRows(const Box& b, double from, double to, const Paint& paint) {
        fill({b.x, b.y + b.h * from, b.w, b.h * (to - from)}, paint);
    }
    void clipTo(const Box& b) {
        canvas.clip(px(b.x), px(b.y), px(b.x + b.w) - px(b.x), px(b.y + b.h) - px(b.y));
    }
    void ellipse(double cx, double cy, double rx, double ry, const Paint& paint, double alpha = 1) {
        canvas.fillEllipse(cx * k, cy * k, rx * k, ry * k, paint, alpha);
    }
    void line(double x0, double y0, double x1, double y1, double width, const Paint& paint) {
        canvas.line(x0 * k, y0 * k, x1 * k, y1 * k, width * k, paint);
    }
    void polygon(std::vector<Canvas::Point> points, const Paint& paint) {
        for (auto& p : points) p = {p.x * k, p.y * k};
        canvas.fillPolygon(points, paint);
    }
    // Rounded shading at a piece's sides and a seam around it.
    void finish(const Box& b) {
        canvas.resetClip();
        const int x = px(b.x), y = px(b.y), w = px(b.x + b.w) - x, h = px(b.y + b.h) - y;
        const int edge = std::max(2, w / 10);
        for (int i = 0; i < edge; ++i) {
            const double f = 0.78 + 0.22 * i / edge;
            canvas.shadeRect(x + i, y, 1, h, f);
            canvas.shadeRect(x + w - 1 - i, y, 1, h, f);
        }
        canvas.frame(x, y, w, h, {14, 14, 16});
    }
    int px(double v) const { return static_cast<int>(std::lround(v * k)); }

    Canvas canvas;
    double k;
};

Pattern scaled(Pattern p, double k) {
    p.scale = std::max(3, static_cast<int>(std::lround(p.scale * k)));
    return p;
}

void buttons(Sheet& s, double x, double top, double bottom, Rgb colour) {
    for (double y = top; y <= bottom; y += 10) s.ellipse(x, y, 1.6, 1.6, colour);
}

void drawNormal(Sheet& s, const OutfitStyle& o, const Pattern& top, const Pattern& bottom, Rgb skin) {
    for (const Box& b : {front, back}) s.fill(b, top);
    const double cx = front.x + front.w / 2;
    s.clipTo(front);
    s.ellipse(cx, front.y, o.female ? 11 : 8, o.female ? 9 : 6, skin);
    if (!o.female) {
        s.polygon({{cx - 12, front.y}, {cx - 2, front.y + 6}, {cx - 4, front.y + 12}}, o.trim);
        s.polygon({{cx + 12, front.y}, {cx + 2, front.y + 6}, {cx + 4, front.y + 12}}, o.trim);
        buttons(s, cx, front.y + 16, front.y + front.h - 6, o.trim);
        s.canvas.frame(s.px(front.x + 8), s.px(front.y + 18), s.px(10), s.px(10), shade(top.base, 0.6));
    } else {
        s.line(cx - 10, front.y + 7, cx + 10, front.y + 7, 1.2, o.trim);
    }
    s.clipTo(back);
    s.ellipse(back.x + back.w / 2, back.y, 8, 4, skin);
    s.canvas.resetClip();
    for (const Box& b : {legLeft, legRight}) {
        if (o.dress) {
            s.fillRows(b, 0.0, 0.55, top);
            s.fillRows(b, 0.55, 1.0, skin);
            s.fillRows(b, 0.52, 0.55, o.trim);
        } else {
            s.fill(b, bottom);
            s.fillRows(b, 0.0, 0.07, o.trim);
            s.clipTo(b);
            s.line(b.x + b.w / 2, b.y + 8, b.x + b.w / 2, b.y + b.h, 0.8, shade(bottom.base, 0.7));
            s.canvas.resetClip();
        }
    }
    for (const Box& b : {sleeveLeft, sleeveRight}) {
        s.fill(b, top);
        if (o.shortSleeves) {
            s.fillRows(b, 0.42, 1.0, skin);
            s.fillRows(b, 0.40, 0.44, shade(top.base, 0.7));
        } else {
            s.fillRows(b, 0.88, 1.0, o.trim);
        }
    }
    s.fill(shoes, shade(o.trim, 0.55));
}

void drawFormal(Sheet& s, const OutfitStyle& o, const Pattern& top, Rgb skin) {
    const double cx = front.x + front.w / 2;
    if (!o.female) {
        for (const Box& b : {front, back, legLeft, legRight, sleeveLeft, sleeveRight}) s.fill(b, top);
        s.clipTo(front);
        s.polygon({{cx - 13, front.y}, {cx + 13, front.y}, {cx, front.y + 34}}, Rgb{245, 245, 245});
        s.polygon({{cx - 3, front.y + 4}, {cx + 3, front.y + 4}, {cx + 4, front.y + 28},
                   {cx, front.y + 33}, {cx - 4, front.y + 28}},
                  o.trim);
        s.line(cx - 13, front.y, cx - 4, front.y + 36, 1.6, shade(top.base, 1.35));
        s.line(cx + 13, front.y, cx + 4, front.y + 36, 1.6, shade(top.base, 1.35));
        buttons(s, cx, front.y + 40, front.y + 52, {200, 190, 150});
        s.canvas.resetClip();
        for (const Box& b : {sleeveLeft, sleeveRight}) s.fillRows(b, 0.9, 1.0, Rgb{245, 245, 245});
        s.fill(shoes, Rgb{15, 15, 15});
        return;
    }
    for (const Box& b : {front, back, legLeft, legRight}) {
        s.fill(b, top);
        // A sheen down the gown.
        const int x = s.px(b.x), w = s.px(b.x + b.w) - x;
        for (int i = 0; i < w; ++i) {
            const double t = std::abs(i - w * 0.35) / w;
            s.canvas.shadeRect(x + i, s.px(b.y), 1, s.px(b.h), t < 0.12 ? 1.25 - t : 1.0);
        }
    }
    for (const Box& b : {front, back}) {
        s.fillRows(b, 0.0, 0.2, skin);
        s.clipTo(b);
        s.ellipse(b.x + b.w * 0.3, b.y + b.h * 0.2, b.w * 0.22, b.h * 0.08, top);
        s.ellipse(b.x + b.w * 0.7, b.y + b.h * 0.2, b.w * 0.22, b.h * 0.08, top);
    }
    s.canvas.resetClip();
    for (const Box& b : {sleeveLeft, sleeveRight}) {
        s.fill(b, skin);
        s.fillRows(b, 0.8, 0.85, o.trim);
    }
    s.fill(shoes, o.trim);
}

void drawBareBody(Sheet& s, Rgb skin) {
    for (const Box& b : {front, back, legLeft, legRight, sleeveLeft, sleeveRight, shoes}) {
        s.fill(b, skin);
        s.fillRows(b, 0.0, 0.5, shade(skin, 1.06));
    }
    s.clipTo(front);
    s.line(front.x + front.w / 2, front.y + 16, front.x + front.w / 2, front.y + 44, 1.0, shade(skin, 0.88));
    s.canvas.resetClip();
}

void drawSwimwear(Sheet& s, const OutfitStyle& o, const Pattern& top, Rgb skin) {
    drawBareBody(s, skin);
    const bool briefs = o.garment == Garment::Underwear;
    for (const Box& b : {legLeft, legRight}) s.fillRows(b, 0.0, o.female || briefs ? 0.14 : 0.4, top);
    for (const Box& b : {front, back}) {
        s.clipTo(b);
        if (o.female && !o.child) {
            s.ellipse(b.x + b.w * 0.32, b.y + b.h * 0.38, b.w * 0.15, b.h * 0.11, top);
            s.ellipse(b.x + b.w * 0.68, b.y + b.h * 0.38, b.w * 0.15, b.h * 0.11, top);
            s.line(b.x, b.y + b.h * 0.38, b.x + b.w, b.y + b.h * 0.38, 2.0, top);
        }
        if (!briefs || o.female) s.fillRows(b, 0.85, 1.0, top);
        s.canvas.resetClip();
    }
    s.fill(band, o.trim);
}

void drawPajamas(Sheet& s, const OutfitStyle& o, const Pattern& top, const Pattern& bottom, Rgb skin) {
    for (const Box& b : {front, back, sleeveLeft, sleeveRight}) s.fill(b, top);
    for (const Box& b : {legLeft, legRight}) {
        s.fill(b, bottom);
        s.fillRows(b, 0.94, 1.0, o.trim);
    }
    const double cx = front.x + front.w / 2;
    s.clipTo(front);
    s.ellipse(cx, front.y, 9, 7, skin);
    s.line(cx - 9, front.y + 1, cx, front.y + 12, 1.6, o.trim);
    s.line(cx + 9, front.y + 1, cx, front.y + 12, 1.6, o.trim);
    buttons(s, cx, front.y + 18, front.y + front.h - 6, o.trim);
    s.canvas.resetClip();
    for (const Box& b : {sleeveLeft, sleeveRight}) s.fillRows(b, 0.9, 1.0, o.trim);
    s.fill(shoes, mix(o.trim, {255, 255, 255}, 0.5));
}

void drawWinter(Sheet& s, const OutfitStyle& o, const Pattern& top, const Pattern& bottom) {
    for (const Box& b : {front, back, sleeveLeft, sleeveRight}) s.fill(b, top);
    for (const Box& b : {legLeft, legRight}) s.fill(b, bottom);
    Pattern scarf;
    scarf.kind = Kind::Stripes;
    scarf.base = o.trim;
    scarf.accent = shade(o.trim, 0.6);
    scarf.detail = o.trim;
    scarf.scale = std::max(3, static_cast<int>(6 * s.k));
    s.fillRows(front, 0.0, 0.2, scarf);
    s.fill({front.x + 8, front.y, 10, front.h * 0.7}, scarf);
    s.fillRows(back, 0.0, 0.16, scarf);
    for (const Box& b : {sleeveLeft, sleeveRight}) s.fillRows(b, 0.84, 1.0, o.trim);
    for (const Box& b : {legLeft, legRight}) {
        s.fillRows(b, 0.7, 1.0, Rgb{70, 45, 30});
        s.fillRows(b, 0.7, 0.76, Rgb{235, 225, 205});
    }
    s.fill(shoes, Rgb{70, 45, 30});
}

}  // namespace

Rgb skinColour(std::string_view tone) {
    if (tone == "lgt") return {240, 204, 176};
    if (tone == "drk") return {122, 80, 54};
    return {200, 148, 106};
}

OutfitStyle outfitStyle(Garment garment, bool female, bool child, std::string_view key) {
    Random random(seedFrom(key));
    OutfitStyle o;
    o.garment = garment;
    o.female = female;
    o.child = child;
    const auto& colours = child ? bright : everyday;
    switch (garment) {
    case Garment::Normal: {
        const Rgb base = random.pick(colours);
        o.top = fabric(random, anyKind(random, female || child), base, otherThan(random, colours, base),
                       child ? 12 : random.between(7, 12));
        const Rgb legs = child ? random.pick(bright) : random.pick(trousers);
        o.bottom = fabric(random, random.chance(20) ? Kind::Checks : Kind::Solid, legs,
                          shade(legs, 0.8), 8);
        o.trim = otherThan(random, colours, base);
        o.dress = female && random.chance(40);
        o.shortSleeves = random.chance(50);
        break;
    }
    case Garment::Formal: {
        if (female) {
            const Rgb base = random.pick(gowns);
            o.top = fabric(random, random.chance(50) ? Kind::Flowers : Kind::Dots, base,
                           shade(base, 1.3), 9);
            o.trim = {220, 190, 90};
        } else {
            const Rgb base = random.pick(suits);
            o.top = fabric(random, random.chance(35) ? Kind::Stripes : Kind::Solid, base,
                           shade(base, 1.25), 6);
            o.top.diagonal = o.top.horizontal = false;
            o.trim = random.pick(ties);
        }
        o.bottom = o.top;
        break;
    }
    case Garment::Swimsuit:
    case Garment::Underwear: {
        if (garment == Garment::Underwear) {
            const Rgb base = random.pick(std::vector<Rgb>{{245, 245, 245}, {200, 200, 205}, {40, 40, 45}});
            o.top = fabric(random, Kind::Solid, base, base, 8);
        } else {
            const Rgb base = random.pick(bright);
            o.top = fabric(random, random.chance(30) ? Kind::Solid : anyKind(random, true), base,
                           otherThan(random, bright, base), 8);
        }
        o.bottom = o.top;
        o.trim = shade(o.top.base, 0.7);
        break;
    }
    case Garment::Pajamas: {
        const Rgb base = random.pick(pastels);
        o.top = fabric(random, random.chance(20) ? Kind::Checks : anyKind(random, true), base,
                       random.chance(50) ? Rgb{250, 250, 250} : shade(otherThan(random, pastels, base), 0.85),
                       10);
        o.bottom = random.chance(50) ? o.top : fabric(random, Kind::Solid, base, base, 8);
        o.trim = shade(base, 0.7);
        break;
    }
    case Garment::Winter: {
        const Rgb base = random.pick(knits);
        o.top = fabric(random, random.chance(60) ? Kind::Checks : Kind::Stripes, base,
                       shade(base, 0.65), 10);
        o.bottom = fabric(random, Kind::Solid, random.pick(trousers), base, 8);
        o.trim = otherThan(random, knits, base);
        break;
    }
    case Garment::Nude:
        o.trim = {200, 200, 200};
        break;
    }
    return o;
}

Canvas drawOutfitTexture(const OutfitStyle& style, Rgb skin, int size) {
    Sheet sheet(size);
    const Pattern top = scaled(style.top, sheet.k);
    const Pattern bottom = scaled(style.bottom, sheet.k);
    switch (style.garment) {
    case Garment::Normal: drawNormal(sheet, style, top, bottom, skin); break;
    case Garment::Formal: drawFormal(sheet, style, top, skin); break;
    case Garment::Swimsuit:
    case Garment::Underwear: drawSwimwear(sheet, style, top, skin); break;
    case Garment::Pajamas: drawPajamas(sheet, style, top, bottom, skin); break;
    case Garment::Winter: drawWinter(sheet, style, top, bottom); break;
    case Garment::Nude: drawBareBody(sheet, skin); break;
    }
    sheet.canvas.resetClip();
    sheet.fill(bare, skin);
    for (const Box& b : {front, back, legLeft, legRight, sleeveLeft, sleeveRight, shoes, bare})
        sheet.finish(b);
    return std::move(sheet.canvas);
}

Canvas drawHandTexture(const HandStyle& style, int size) {
    // Drawn at twice the size and reduced, for soft outlines.
    const double k = size * 2 / 64.0 * (style.small ? 0.82 : 1.0);
    const double ox = size * (style.small ? 0.18 : 0.0), oy = size * (style.small ? 0.36 : 0.0);
    Canvas c(size * 2, size * 2, {34, 34, 38});
    c.verticalGradient(0, 0, size * 2, size * 2, {46, 46, 52}, {26, 26, 30});
    const Rgb skin = style.skin;
    const Paint fill = style.glove ? Paint(style.gloveFabric) : Paint(skin);
    const Rgb edge = style.glove ? shade(style.gloveFabric.base, 0.7) : shade(skin, 0.82);
    const auto X = [&](double v) { return ox + v * k; };
    const auto Y = [&](double v) { return oy + v * k; };
    struct Finger {
        double x0, y0, x1, y1, width;
    };
    std::vector<Finger> fingers;
    const double baseY = 30;
    const double xs[4] = {22, 28.5, 35, 41.5};
    const double spread[4] = {-7, -2.5, 2.5, 7};
    const double lengths[4] = {15, 18, 17, 13};
    for (int i = 0; i < 4; ++i) {
        const bool extended = style.pose == HandPose::Open || (style.pose == HandPose::Point && i == 0);
        if (extended)
            fingers.push_back({xs[i], baseY, xs[i] + spread[i] * (style.pose == HandPose::Open ? 1 : 0.4),
                               baseY - lengths[i] - (style.pose == HandPose::Point ? 2 : 0), 6.2});
        else
            fingers.push_back({xs[i], baseY, xs[i] + 0.5, baseY - 4.5, 6.6});
    }
    const Finger thumb = style.pose == HandPose::Open ? Finger{18, 42, 8, 30, 7}
                                                      : Finger{19, 42, 30, 34, 7};
    // Wrist and cuff first, so the palm overlaps them.
    c.fillRoundedRect(X(22), Y(44), 20 * k, 22 * k, 4 * k, fill);
    if (style.glove) c.fillRect(static_cast<int>(X(20)), static_cast<int>(Y(54)),
                                static_cast<int>(24 * k), static_cast<int>(5 * k), edge);
    for (const auto& f : fingers)
        c.line(X(f.x0), Y(f.y0), X(f.x1), Y(f.y1), (f.width + 1.2) * k, edge);
    c.line(X(thumb.x0), Y(thumb.y0), X(thumb.x1), Y(thumb.y1), (thumb.width + 1.2) * k, edge);
    c.fillEllipse(X(32), Y(38), 14.6 * k, 13.6 * k, edge);
    c.fillEllipse(X(32), Y(38), 13.8 * k, 12.8 * k, fill);
    for (const auto& f : fingers) c.line(X(f.x0), Y(f.y0), X(f.x1), Y(f.y1), f.width * k, fill);
    c.line(X(thumb.x0), Y(thumb.y0), X(thumb.x1), Y(thumb.y1), thumb.width * k, fill);
    if (style.pose != HandPose::Open)
        for (int i = 0; i < 4; ++i) c.arc(X(xs[i]), Y(baseY - 2), 2.6 * k, 2 * k, 200, 340, 0.9 * k, edge);
    c.arc(X(38), Y(36), 10 * k, 11 * k, 120, 200, 0.8 * k, edge, 0.5);
    if (!style.glove) {
        const Rgb nail = style.paintedNails ? style.nails : shade(skin, 1.18);
        for (const auto& f : fingers)
            if (f.y0 - f.y1 > 8) c.fillEllipse(X(f.x1), Y(f.y1 + 1.2), 2 * k, 2.4 * k, nail);
    }
    if (style.fur) {
        Random random(seedFrom("fur"));
        for (int i = 0; i < 260; ++i) {
            const double x = 10 + random.unit() * 44, y = 8 + random.unit() * 54;
            const double a = (random.unit() - 0.5) * 1.2 - std::numbers::pi / 2;
            const Rgb tint = random.chance(50) ? shade(style.gloveFabric.base, 1.25) : shade(style.gloveFabric.base, 0.8);
            const int fx = std::clamp(static_cast<int>(X(x)), 0, c.width() - 1);
            const int fy = std::clamp(static_cast<int>(Y(y)), 0, c.height() - 1);
            if (c.at(fx, fy) == style.gloveFabric.base)
                c.line(X(x), Y(y), X(x + std::cos(a) * 2.5), Y(y + std::sin(a) * 2.5), 0.7 * k, tint);
        }
    }
    return c.reduced(2);
}

}  // namespace drapeline::demo
