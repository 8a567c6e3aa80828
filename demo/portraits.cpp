#include "demo/portraits.h"

#include <algorithm>
#include <cmath>

#include "testkit/bitmap.h"
#include "testkit/random.h"

namespace drapeline::demo {

using namespace testkit;  // the demo game is drawn and built with the testkit's builders

namespace {

// Portraits are drawn at twice their size and reduced: at 45 pixels wide an eye is a
// handful of pixels, and the reduction keeps it round.
constexpr int Oversample = 2;

struct Head {
    double cx, cy, rx, ry;
};

Head headFor(const Look& look, int w, int h, bool closeUp) {
    const double height = closeUp ? h * 0.62 : h * (look.child ? 0.36 : 0.40);
    const double ratio = look.child ? 0.9 : look.female ? 0.78 : 0.84;
    const double cy = closeUp ? h * 0.54 : h * (look.child ? 0.50 : 0.42);
    return {w / 2.0, cy, height / 2 * ratio * look.faceWidth, height / 2};
}

void drawBackground(Canvas& c, const Look& look, const Head& head) {
    c.verticalGradient(0, 0, c.width(), c.height(), shade(look.background, 1.25),
                       shade(look.background, 0.75));
    // A soft light behind the head, as in a studio portrait.
    c.fillEllipse(head.cx, head.cy - head.ry * 0.2, head.rx * 1.9, head.ry * 1.5,
                  shade(look.background, 1.35), 0.3);
}

void drawHairBehind(Canvas& c, const Look& look, const Head& h) {
    switch (look.hairStyle) {
    case HairStyle::Long:
        c.fillRoundedRect(h.cx - h.rx * 1.28, h.cy - h.ry * 0.95, h.rx * 2.56, h.ry * 2.7, h.rx,
                          look.hair);
        break;
    case HairStyle::Bob:
        c.fillRoundedRect(h.cx - h.rx * 1.22, h.cy - h.ry * 0.98, h.rx * 2.44, h.ry * 1.85,
                          h.rx * 0.8, look.hair);
        break;
    case HairStyle::Ponytail:
        c.fillEllipse(h.cx + h.rx * 1.05, h.cy + h.ry * 0.15, h.rx * 0.34, h.ry * 0.85, look.hair);
        break;
    default:
        break;
    }
}

void drawShoulders(Canvas& c, const Look& look, const Head& h, double k) {
    const double width = look.child ? 1.75 : look.female ? 2.05 : 2.35;
    const double top = h.cy + h.ry * (look.child ? 1.2 : 1.35);
    Pattern top_ = look.clothes.top;
    top_.scale = std::max(3, static_cast<int>(std::lround(top_.scale * k * 0.6)));
    // Neck first; the clothes cover its lower end.
    c.fillRoundedRect(h.cx - h.rx * 0.36, h.cy + h.ry * 0.4, h.rx * 0.72, h.ry * 1.2, h.rx * 0.2,
                      shade(look.skin, 0.86));
    c.fillEllipse(h.cx, top + h.ry * 1.25, h.rx * width, h.ry * 1.4, top_);
    // A round neckline, or an open collar.
    if (look.female || look.child) {
        c.fillEllipse(h.cx, top + h.ry * 0.02, h.rx * 0.55, h.ry * 0.3, shade(look.skin, 0.9));
        if (look.earrings)
            c.arc(h.cx, top + h.ry * 0.02, h.rx * 0.5, h.ry * 0.28, 20, 160, h.ry * 0.04, Rgb{230, 200, 90});
    } else {
        c.fillPolygon({{h.cx - h.rx * 0.38, top - h.ry * 0.1}, {h.cx + h.rx * 0.38, top - h.ry * 0.1},
                       {h.cx, top + h.ry * 0.55}},
                      shade(look.skin, 0.88));
        c.line(h.cx - h.rx * 0.45, top - h.ry * 0.05, h.cx - h.rx * 0.05, top + h.ry * 0.55,
               h.ry * 0.1, look.clothes.trim);
        c.line(h.cx + h.rx * 0.45, top - h.ry * 0.05, h.cx + h.rx * 0.05, top + h.ry * 0.55,
               h.ry * 0.1, look.clothes.trim);
    }
}

void drawFace(Canvas& c, const Look& look, const Head& h) {
    const Rgb ear = shade(look.skin, 0.92);
    c.fillEllipse(h.cx - h.rx * 0.98, h.cy + h.ry * 0.05, h.rx * 0.17, h.ry * 0.22, ear);
    c.fillEllipse(h.cx + h.rx * 0.98, h.cy + h.ry * 0.05, h.rx * 0.17, h.ry * 0.22, ear);
    c.fillEllipse(h.cx, h.cy, h.rx, h.ry, look.skin);
    c.fillEllipse(h.cx + h.rx * 0.35, h.cy + h.ry * 0.1, h.rx * 0.55, h.ry * 0.8, shade(look.skin, 0.94), 0.5);
    if (look.earrings) {
        c.fillCircle(h.cx - h.rx * 0.98, h.cy + h.ry * 0.32, h.ry * 0.07, Rgb{235, 200, 80});
        c.fillCircle(h.cx + h.rx * 0.98, h.cy + h.ry * 0.32, h.ry * 0.07, Rgb{235, 200, 80});
    }
    if (look.female || look.child) {
        const Rgb blush{235, 120, 120};
        c.fillCircle(h.cx - h.rx * 0.55, h.cy + h.ry * 0.32, h.rx * 0.18, blush, 0.22);
        c.fillCircle(h.cx + h.rx * 0.55, h.cy + h.ry * 0.32, h.rx * 0.18, blush, 0.22);
    }
    if (look.freckles) {
        Random random(look.seed);
        for (int i = 0; i < 8; ++i) {
            const double side = i % 2 ? 1 : -1;
            c.fillCircle(h.cx + side * h.rx * (0.35 + random.unit() * 0.3),
                         h.cy + h.ry * (0.2 + random.unit() * 0.2), h.ry * 0.025,
                         shade(look.skin, 0.7), 0.7);
        }
    }
}

void drawHairOnTop(Canvas& c, const Look& look, const Head& h) {
    const Rgb hair = look.hair;
    const double hairline = h.cy - h.ry * 0.38;
    if (look.hairStyle == HairStyle::Bald) {
        c.fillEllipse(h.cx - h.rx * 0.9, h.cy - h.ry * 0.1, h.rx * 0.16, h.ry * 0.3, hair);
        c.fillEllipse(h.cx + h.rx * 0.9, h.cy - h.ry * 0.1, h.rx * 0.16, h.ry * 0.3, hair);
        c.fillEllipse(h.cx - h.rx * 0.3, h.cy - h.ry * 0.7, h.rx * 0.3, h.ry * 0.12, {255, 255, 255}, 0.25);
        return;
    }
    if (look.hairStyle == HairStyle::Curly) {
        Random random(look.seed);
        for (int i = 0; i <= 14; ++i) {
            const double a = (190 + i * 160.0 / 14) * 3.14159265 / 180;
            c.fillCircle(h.cx + std::cos(a) * h.rx * 1.0, h.cy - h.ry * 0.1 + std::sin(a) * h.ry * 0.95,
                         h.rx * (0.3 + random.unit() * 0.08), shade(hair, 0.9 + random.unit() * 0.2));
        }
    }
    c.clip(0, 0, c.width(), static_cast<int>(hairline + h.ry * 0.05));
    c.fillEllipse(h.cx, h.cy - h.ry * 0.08, h.rx * 1.08, h.ry * 1.0, hair);
    c.resetClip();
    switch (look.hairStyle) {
    case HairStyle::Crop:
        c.fillEllipse(h.cx - h.rx * 0.3, hairline, h.rx * 0.6, h.ry * 0.12, hair);
        break;
    case HairStyle::Spiky:
        for (int i = -3; i <= 3; ++i)
            c.line(h.cx + i * h.rx * 0.26, h.cy - h.ry * 0.75, h.cx + i * h.rx * 0.36,
                   h.cy - h.ry * 1.22 + std::abs(i) * h.ry * 0.05, h.rx * 0.22, hair);
        break;
    case HairStyle::Long:
    case HairStyle::Bob:
        c.fillEllipse(h.cx - h.rx * 0.42, hairline + h.ry * 0.02, h.rx * 0.7, h.ry * 0.2, hair);
        c.fillEllipse(h.cx + h.rx * 0.5, hairline - h.ry * 0.02, h.rx * 0.5, h.ry * 0.14, hair);
        c.fillRoundedRect(h.cx - h.rx * 1.1, hairline - h.ry * 0.2, h.rx * 0.25, h.ry * 1.0, h.rx * 0.12, hair);
        c.fillRoundedRect(h.cx + h.rx * 0.85, hairline - h.ry * 0.2, h.rx * 0.25, h.ry * 1.0, h.rx * 0.12, hair);
        break;
    case HairStyle::Ponytail:
        c.fillEllipse(h.cx, hairline - h.ry * 0.02, h.rx * 0.8, h.ry * 0.12, hair);
        break;
    case HairStyle::Bun:
        c.fillCircle(h.cx, h.cy - h.ry * 1.05, h.rx * 0.4, hair);
        c.fillEllipse(h.cx, hairline - h.ry * 0.02, h.rx * 0.75, h.ry * 0.1, hair);
        break;
    case HairStyle::Pigtails:
        for (const double side : {-1.0, 1.0}) {
            c.fillCircle(h.cx + side * h.rx * 1.2, h.cy - h.ry * 0.05, h.rx * 0.34, hair);
            c.fillCircle(h.cx + side * h.rx * 1.02, h.cy - h.ry * 0.22, h.rx * 0.12, look.clothes.trim);
        }
        c.fillEllipse(h.cx + h.rx * 0.2, hairline, h.rx * 0.65, h.ry * 0.14, hair);
        break;
    case HairStyle::Curly:
    case HairStyle::Bald:
        break;
    }
    c.arc(h.cx, h.cy - h.ry * 0.1, h.rx * 0.7, h.ry * 0.75, 215, 300, h.ry * 0.06, shade(hair, 1.5), 0.45);
}

void drawEye(Canvas& c, const Look& look, double x, double y, double r, Expression e, bool left) {
    const Rgb line = {40, 28, 24};
    const bool closed = e == Expression::Laugh || (e == Expression::Wink && !left);
    if (closed) {
        c.arc(x, y + r * 0.5, r * 1.1, r * 0.8, 200, 340, r * 0.35, line);
        return;
    }
    const double open = e == Expression::Surprised ? 1.25 : 1.0;
    c.fillEllipse(x, y, r * 1.5, r * open, {250, 250, 250});
    c.fillCircle(x, y + r * 0.05, r * 0.78, look.eyes);
    c.fillCircle(x, y + r * 0.05, r * 0.4, {20, 15, 15});
    c.fillCircle(x + r * 0.3, y - r * 0.25, r * 0.2, {255, 255, 255});
    if (e == Expression::Sad)
        c.fillEllipse(x, y - r * 0.8, r * 1.7, r * 0.75, look.skin);
    c.arc(x, y, r * 1.5, r * open, 195, 345, r * (look.female ? 0.42 : 0.25), line);
}

void drawFeatures(Canvas& c, const Look& look, const Head& h, Expression e) {
    const double eyeY = h.cy + h.ry * 0.02;
    const double r = h.ry * (look.child ? 0.12 : 0.1);
    drawEye(c, look, h.cx - h.rx * 0.42, eyeY, r, e, true);
    drawEye(c, look, h.cx + h.rx * 0.42, eyeY, r, e, false);
    // Brows: raised when surprised, inner ends up when sad.
    const double browY = eyeY - h.ry * (e == Expression::Surprised ? 0.3 : 0.22);
    const double inner = e == Expression::Sad ? -h.ry * 0.06 : 0.0;
    const Rgb brow = shade(look.hair, 0.8);
    const double bw = h.ry * (look.female ? 0.045 : 0.07);
    c.line(h.cx - h.rx * 0.62, browY, h.cx - h.rx * 0.22, browY + inner, bw, brow);
    c.line(h.cx + h.rx * 0.62, browY, h.cx + h.rx * 0.22, browY + inner, bw, brow);

    c.arc(h.cx, h.cy + h.ry * 0.26, h.rx * 0.12, h.ry * 0.06, 10, 170, h.ry * 0.04, shade(look.skin, 0.72));
    if (look.beard) {
        c.clip(0, static_cast<int>(h.cy + h.ry * 0.25), c.width(), c.height());
        c.fillEllipse(h.cx, h.cy + h.ry * 0.35, h.rx * 0.98, h.ry * 0.68, look.hair);
        c.resetClip();
        c.fillEllipse(h.cx, h.cy + h.ry * 0.52, h.rx * 0.36, h.ry * 0.14, look.skin);
    }
    if (look.moustache || look.beard)
        c.arc(h.cx, h.cy + h.ry * 0.5, h.rx * 0.34, h.ry * 0.12, 190, 350, h.ry * 0.09, look.hair);

    const double my = h.cy + h.ry * 0.52;
    const Rgb mouth = look.female ? look.lips : shade(look.skin, 0.55);
    const double mw = h.ry * (look.female ? 0.07 : 0.05);
    switch (e) {
    case Expression::Smile:
    case Expression::Wink:
        c.arc(h.cx, my - h.ry * 0.1, h.rx * 0.3, h.ry * 0.13, 25, 155, mw, mouth);
        break;
    case Expression::Laugh:
        c.clip(0, static_cast<int>(my - h.ry * 0.02), c.width(), c.height());
        c.fillEllipse(h.cx, my - h.ry * 0.02, h.rx * 0.3, h.ry * 0.17, {120, 30, 40});
        c.resetClip();
        c.fillRect(static_cast<int>(h.cx - h.rx * 0.22), static_cast<int>(my - h.ry * 0.02),
                   static_cast<int>(h.rx * 0.44), static_cast<int>(h.ry * 0.05) + 1, Rgb{250, 250, 245});
        break;
    case Expression::Neutral:
        c.line(h.cx - h.rx * 0.2, my, h.cx + h.rx * 0.2, my, mw, mouth);
        break;
    case Expression::Sad:
        c.arc(h.cx, my + h.ry * 0.1, h.rx * 0.24, h.ry * 0.1, 205, 335, mw, mouth);
        break;
    case Expression::Surprised:
        c.fillEllipse(h.cx, my + h.ry * 0.02, h.rx * 0.12, h.ry * 0.1, {110, 30, 40});
        break;
    }
    if (look.glasses) {
        // Dark frames vanish on dark skin.
        const Rgb frame = look.skin.r < 150 ? Rgb{215, 185, 110} : Rgb{35, 35, 40};
        for (const double side : {-1.0, 1.0})
            c.arc(h.cx + side * h.rx * 0.42, eyeY, r * 2.3, r * 2.0, 0, 360, h.ry * 0.035, frame);
        c.line(h.cx - h.rx * 0.12, eyeY - r * 0.4, h.cx + h.rx * 0.12, eyeY - r * 0.4, h.ry * 0.035, frame);
    }
}

}  // namespace

Canvas portrait(const Look& look, int width, int height, Expression expression, bool closeUp) {
    Canvas c(width * Oversample, height * Oversample);
    const Head head = headFor(look, c.width(), c.height(), closeUp);
    const double k = c.height() / 120.0;
    drawBackground(c, look, head);
    drawHairBehind(c, look, head);
    drawShoulders(c, look, head, k);
    drawFace(c, look, head);
    drawHairOnTop(c, look, head);
    drawFeatures(c, look, head, expression);
    return c.reduced(Oversample);
}

ByteText webImage(const Look& look) {
    Canvas c(WebImageWidth, WebImageHeight);
    c.blit(portrait(look, WebImageWidth / 2, WebImageHeight, Expression::Smile, false), 0, 0);
    Look other = look;
    other.background = shade(look.background, 0.7);
    c.blit(portrait(other, WebImageWidth / 2, WebImageHeight, Expression::Laugh, false),
           WebImageWidth / 2, 0);
    return encode24(c);
}

ByteText facesImage(const Look& look) {
    Canvas c(FacesWidth, FacesHeight);
    const Expression moods[] = {Expression::Smile, Expression::Laugh, Expression::Sad,
                                Expression::Surprised};
    const Rgb tints[] = {{120, 170, 220}, {240, 200, 90}, {130, 130, 160}, {230, 140, 120}};
    for (int i = 0; i < 4; ++i) {
        Look mood = look;
        mood.background = tints[i];
        c.blit(portrait(mood, FacesHeight, FacesHeight, moods[i], true), i * FacesHeight, 0);
    }
    return encode8(c);
}

Canvas friendPortrait(const Look& look) {
    return portrait(look, RelImagesHeight, RelImagesHeight, Expression::Smile, false);
}

ByteText relationshipImage(const std::vector<const Canvas*>& friends) {
    Canvas c(RelImagesWidth, RelImagesHeight, {70, 70, 78});
    const int cell = RelImagesHeight;
    for (std::size_t i = 0; i < friends.size() && i < 4; ++i) {
        c.blit(*friends[i], static_cast<int>(i) * cell, 0);
        c.frame(static_cast<int>(i) * cell, 0, cell, cell, {30, 30, 34});
    }
    return encode8(c);
}

}  // namespace drapeline::demo
