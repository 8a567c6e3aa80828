#include <gtest/gtest.h>

#include "testkit/bitmap.h"
#include "testkit/canvas.h"
#include "demo/portraits.h"
#include "demo/textures.h"
#include "tests/demo/bmp_reader.h"

using namespace drapeline;
using testkit::Canvas;
using testkit::Rgb;

namespace {

int distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

}  // namespace

// Odd widths need row padding and rows are stored bottom-up: both directions of both
// formats must come back exactly.
TEST(DemoBitmaps, FewColoursComeBackExactlyInBothFormats) {
    for (const int width : {1, 3, 45, 64}) {
        Canvas c(width, 7, {10, 20, 30});
        c.fillRect(0, 0, width, 1, Rgb{255, 0, 0});
        c.set(width - 1, 6, {0, 0, 255});
        for (const bool eightBit : {true, false}) {
            const auto bytes = eightBit ? testkit::encode8(c) : testkit::encode24(c);
            const auto d = testkit::decodeBitmap(bytes);
            ASSERT_TRUE(d) << width;
            EXPECT_EQ(d->bitsPerPixel, eightBit ? 8 : 24);
            EXPECT_EQ(d->width, width);
            EXPECT_EQ(d->height, 7);
            EXPECT_EQ(d->pixels, c.pixels()) << width << (eightBit ? " 8-bit" : " 24-bit");
        }
    }
}

// A portrait has far more than 256 colours once its edges are smoothed; stored in 8 bits
// it must still look like itself.
TEST(DemoBitmaps, ManyColoursAreReducedToAPaletteThatStaysClose) {
    demo::Look look;
    look.skin = demo::skinColour("med");
    look.hair = {160, 60, 30};
    look.background = {120, 190, 140};
    look.glasses = true;
    const Canvas c = demo::portrait(look, 60, 60, demo::Expression::Laugh, true);
    const auto d = testkit::decodeBitmap(testkit::encode8(c));
    ASSERT_TRUE(d);
    EXPECT_GT(d->paletteSize, 100u);
    EXPECT_LE(d->paletteSize, 256u);
    long total = 0;
    for (std::size_t i = 0; i < d->pixels.size(); ++i) total += distance(d->pixels[i], c.pixels()[i]);
    EXPECT_LT(total / static_cast<long>(d->pixels.size()), 6);
}

TEST(DemoCanvas, ShapesCoverTheirInsideBlendTheirEdgeAndKeepToTheClip) {
    Canvas c(40, 40, {0, 0, 0});
    c.clip(0, 0, 40, 20);
    c.fillEllipse(20, 20, 10, 10, Rgb{200, 200, 200});
    EXPECT_EQ(c.at(20, 12), (Rgb{200, 200, 200}));   // inside
    EXPECT_EQ(c.at(20, 25), (Rgb{0, 0, 0}));         // inside, but clipped away
    EXPECT_EQ(c.at(2, 2), (Rgb{0, 0, 0}));           // outside
    // A pixel the edge runs through is part covered: anti-aliased.
    int partial = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 20; ++y)
            if (c.at(x, y).r > 0 && c.at(x, y).r < 200) ++partial;
    EXPECT_GT(partial, 10);

    c.resetClip();
    c.fillPolygon({{0, 30}, {10, 30}, {0, 40}}, Rgb{9, 9, 9});
    int triangle = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 30; y < 40; ++y) triangle += c.at(x, y) == Rgb{9, 9, 9};
    EXPECT_NEAR(triangle, 50, 6);
}

// A darker sim looks darker in the face itself, not only in the background.
TEST(DemoPortraits, TheFaceCarriesTheSkinTone) {
    demo::Look base;
    base.skin = demo::skinColour("lgt");
    base.hair = {70, 45, 30};
    base.background = {90, 140, 200};
    base.clothes = demo::outfitStyle(demo::Garment::Normal, false, false, "b001mafit_01");
    demo::Look darker = base;
    darker.skin = demo::skinColour("drk");
    const auto light = testkit::decodeBitmap(demo::webImage(base));
    const auto dark = testkit::decodeBitmap(demo::webImage(darker));
    ASSERT_TRUE(light && dark);
    EXPECT_GT(distance(light->at(22, 26), dark->at(22, 26)), 100);
}
