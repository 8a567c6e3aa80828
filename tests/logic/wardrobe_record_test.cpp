#include <gtest/gtest.h>

#include "wardrobe/wardrobe_record.h"

#include "core/errors.h"
#include "tests/support/doubles.h"
#include "wardrobe/default_rules.h"

using namespace drapeline;
using namespace drapeline::wardrobe;

TEST(OutfitEntry, MeshBeforeTheFirstCommaTextureAfterTheFirstEquals) {
    struct Case {
        std::string entry, mesh, texture;
    };
    const Case cases[] = {
        {"s100fcchd_original,BODY=s100fcchdlgt_original", "s100fcchd_original", "s100fcchdlgt_original"},
        {"a,b,BODY=c=d", "a", "c=d"},
        {",BODY=", "", ""},
        {"mesh,texture", "mesh", "mesh,texture"},   // no "=": the whole entry
        {"x=y,BODY=z", "x=y", "y,BODY=z"},          // the separators are found independently
    };
    for (const auto& c : cases) {
        const OutfitNames names = splitOutfitEntry(c.entry);
        EXPECT_EQ(names.mesh, c.mesh) << c.entry;
        EXPECT_EQ(names.texture, c.texture) << c.entry;
    }
    for (const std::string entry : {"", "ADDED", "b001=x"}) {
        EXPECT_EQ(testkit::errorNumberOf([&] { splitOutfitEntry(entry); }), 5) << entry;
    }
}

TEST(HandEntry, TextureAfterTheFirstEqualsKeyRebuiltFromAgeAndGender) {
    EXPECT_EQ(textAfterFirstEquals("HfLO,HAND=gfao_bride"), "gfao_bride");
    EXPECT_EQ(textAfterFirstEquals("gfao_bride"), "gfao_bride");

    struct Case {
        HandSlot slot;
        std::size_t entry;
        std::string key;
    };
    const Case cases[] = {
        {HandSlot::FormalLeft, 29, "HfLO"},  {HandSlot::FormalRight, 30, "HfRO"},
        {HandSlot::OpenLeft, 18, "HfLO"},    {HandSlot::OpenRight, 19, "HfRO"},
        {HandSlot::PointLeft, 20, "HfLP"},   {HandSlot::PointRight, 21, "HfRP"},
        {HandSlot::ClosedLeft, 22, "HfLC"},  {HandSlot::ClosedRight, 23, "HfRC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(handEntryNumber(c.slot), c.entry);
        EXPECT_EQ(handEntry('f', c.slot, "tex"), c.key + ",HAND=tex");
    }
    EXPECT_EQ(handEntry('u', HandSlot::ClosedRight, ""), "HuRC,HAND=");
}

// The option buttons read the body type in any case; the default outfits use it as typed.
TEST(Identity, BodyTypeFromCharactersSevenToNineOfTheNormalMeshAndExactWords) {
    struct Case {
        std::string mesh, text;
        BodyType type;
        std::string code;
    };
    const Case cases[] = {
        {"b003fafit_01", "fit", BodyType::Fit, "fit"},    {"B003FAFAT_01", "FAT", BodyType::Fat, "fat"},
        {"b003fcskn_01", "skn", BodyType::Skinny, "skn"}, {"b003faFiT", "FiT", BodyType::Fit, "fit"},
        {"b003fafi", "fi", BodyType::None, "skn"},        {"b003fa", "", BodyType::None, "skn"},
        {"b003fachd_01", "chd", BodyType::None, "skn"},   {"", "", BodyType::None, "skn"},
        {"fitfatxyz", "xyz", BodyType::None, "skn"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bodyTypeText(c.mesh), c.text) << c.mesh;
        EXPECT_EQ(bodyTypeOf(c.mesh), c.type) << c.mesh;
        EXPECT_EQ(bodyTypeCode(bodyTypeOf(c.mesh)), c.code) << c.mesh;
    }
    // The other identity words compare exactly.
    EXPECT_EQ(skinToneWord("med"), "medium");
    EXPECT_EQ(skinToneWord("MED"), "");
    EXPECT_EQ(displayName("Ann", "user00005"), "Ann  (user00005)");
}

TEST(Layout, ByEntryCountAndExactAge) {
    struct Case {
        std::size_t n;
        std::string age;
        WardrobeLayout layout;
    };
    const Case cases[] = {
        {30, "adult", WardrobeLayout::Short},      {31, "adult", WardrobeLayout::AdultMiddle},
        {33, "adult", WardrobeLayout::AdultMiddle}, {34, "adult", WardrobeLayout::Long},
        {33, "child", WardrobeLayout::Short},      {31, "Adult", WardrobeLayout::Short},
        {34, "child", WardrobeLayout::Long},       {200, "", WardrobeLayout::Long},
        {0, "adult", WardrobeLayout::Short},
    };
    for (const auto& c : cases) EXPECT_EQ(layoutFor(c.n, c.age), c.layout) << c.n << " " << c.age;
}
