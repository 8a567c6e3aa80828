#include <gtest/gtest.h>

#include "tests/logic/wardrobe_fixtures.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;

namespace {

WardrobeFields fieldsOf(const std::vector<std::string>& texts) {
    const IffFile iff = parse(simFile(texts));
    return readFields(iff, bodySet(iff));
}

OutfitNames same(const std::string& name) { return {name, name}; }

}  // namespace

TEST(ReadFields, TheLayoutDecidesWhichEntriesHoldFormalSwimsuitPajamasAndWinter) {
    // Distinct outfits in every slot that some layout reads; which layout a count and age
    // give is the Layout test's table.
    const auto texts = [](std::size_t n, const std::string& age) {
        auto t = bodyStrings(n, age);
        for (std::size_t e : {17, 28, 31, 32, 33, 34})
            if (e <= n) t[e - 1] = "m" + std::to_string(e) + ",BODY=t" + std::to_string(e);
        return t;
    };
    const OutfitNames pajamasPlaceholder = same(PajamasPlaceholder);
    const OutfitNames winterPlaceholder = same(WinterPlaceholder);
    struct Case {
        std::size_t n;
        std::string age;
        OutfitNames formal, swimsuit, pajamas, winter;
    };
    const Case cases[] = {
        {30, "adult", {"m28", "t28"}, {"m17", "t17"}, pajamasPlaceholder, winterPlaceholder},
        {33, "adult", {"m31", "t31"}, {"m32", "t32"}, {"m33", "t33"}, winterPlaceholder},
        {33, "child", {"m28", "t28"}, {"m17", "t17"}, pajamasPlaceholder, winterPlaceholder},
        {34, "adult", {"m31", "t31"}, {"m32", "t32"}, {"m33", "t33"}, {"m34", "t34"}},
    };
    for (const auto& c : cases) {
        const WardrobeFields f = fieldsOf(texts(c.n, c.age));
        EXPECT_EQ((std::vector{f.outfit(OutfitKind::Formal), f.outfit(OutfitKind::Swimsuit),
                               f.outfit(OutfitKind::Pajamas), f.outfit(OutfitKind::Winter)}),
                  (std::vector{c.formal, c.swimsuit, c.pajamas, c.winter})) << c.n << c.age;
    }
}

TEST(ReadFields, EmptyOrAddedEntriesThatMayBeEmptyLeaveTheirFieldsEmpty) {
    WardrobeFields f = fieldsOf(withEntries(bodyStrings(34, "child", "male"), {{31, "ADDED"}, {32, ""}, {33, ""}}));
    EXPECT_EQ(f.outfit(OutfitKind::Formal), OutfitNames{});
    EXPECT_EQ(f.outfit(OutfitKind::Swimsuit), OutfitNames{});
    EXPECT_EQ(f.outfit(OutfitKind::Pajamas), OutfitNames{});
    EXPECT_EQ(f.outfit(OutfitKind::Winter), same("w001fafitlgt_01"));

    // The short layout's formal may be empty too; the unworn form reads as empty fields.
    f = fieldsOf(withEntries(bodyStrings(30), {{17, ",BODY="}, {28, ""}, {29, ""}}));
    EXPECT_EQ(f.outfit(OutfitKind::Formal), OutfitNames{});
    EXPECT_EQ(f.outfit(OutfitKind::Swimsuit), OutfitNames{});
    EXPECT_EQ(f.hand(HandSlot::FormalLeft), "");
}

TEST(ReadFields, NameFromTheLastUserObjectLabelAndTheLastCatalogueName) {
    const auto file = [](const std::function<void(testkit::IffBuilder&)>& add) {
        testkit::IffBuilder b;
        add(b);
        b.strings(200, bodyStrings(30)).map();
        return parse(b.build());
    };
    struct Case {
        IffFile iff;
        std::string name;
    };
    const Case cases[] = {
        {file([](auto& b) {
             b.chunk("OBJD", 1, "x", "user00005").ctss(2000, {"Ann", "Ann Smith"});
         }),
         "Ann  (user00005)"},
        {file([](auto&) {}), "  ()"},
        {file([](auto& b) {
             b.chunk("OBJD", 1, "x", "user0").chunk("OBJD", 2, "x", "USER7")
                 .chunk("OBJD", 3, "x", "Jack").ctss(1, {"A"}).ctss(2, {"B"});
         }),
         "B  (USER7)"},
    };
    for (const auto& c : cases) EXPECT_EQ(readFields(c.iff, bodySet(c.iff)).name, c.name);
}

TEST(ReadFields, UnreadableEntriesFailAtTheirStageAndWardrobeProblemSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> change;
        int number;
        int location;
        std::string problem;
    };
    const Case cases[] = {
        {"empty normal", [](auto& t) { t[1] = ""; }, 5, 1000, "the normal outfit entry 2 is not an outfit"},
        {"short swimsuit", [](auto& t) { t.resize(30); t[16] = ""; }, 5, 1100,
         "the swimsuit entry 17 is not an outfit"},
        {"adult with 31", [](auto& t) { t.resize(31); }, 9, 1100,
         "its wardrobe has only 31 entries, so the swimsuit entry 32 is missing"},
        {"adult with 32", [](auto& t) { t.resize(32); }, 9, 1300,
         "its wardrobe has only 32 entries, so the pajamas entry 33 is missing"},
        {"ADDED in the middle layout", [](auto& t) { t.resize(33); t[30] = "ADDED"; }, 5, 1200,
         "the formal entry 31 is not an outfit"},
        {"middle pajamas", [](auto& t) { t.resize(33); t[32] = ""; }, 5, 1300,
         "the pajamas entry 33 is not an outfit"},
        {"long winter", [](auto& t) { t[33] = ""; }, 5, 1300, "the winter entry 34 is not an outfit"},
        {"long formal not an outfit", [](auto& t) { t[30] = "added"; }, 5, 1200,
         "the formal entry 31 is not an outfit"},
        {"nude", [](auto& t) { t[15] = "n001"; }, 5, 1400, "the nude entry 16 is not an outfit"},
        {"29 entries", [](auto& t) { t.resize(29); }, 9, 2000,
         "its wardrobe has only 29 entries, so the hand entry 30 is missing"},
        {"12 entries", [](auto& t) { t.resize(12); }, 9, 1100,
         "its wardrobe has only 12 entries, so the swimsuit entry 17 is missing"},
    };
    for (const auto& c : cases) {
        auto t = bodyStrings(34);
        c.change(t);
        const IffFile iff = parse(simFile(t));
        EXPECT_EQ(wardrobeProblem(iff), c.problem) << c.what;
        markStage(0);
        EXPECT_EQ(testkit::errorNumberOf([&] { readFields(iff, bodySet(iff)); }), c.number) << c.what;
        EXPECT_EQ(errorContext().stage, c.location) << c.what;
    }
}

TEST(ReadFields, LabelsAndNamesWithoutTheirEndFailInTheNameStage) {
    const ByteText noNul(64, 'u');
    const IffFile label = parse(testkit::IffBuilder()
                                    .chunk("OBJD", 1, "x").rawLabel(noNul)
                                    .strings(200, bodyStrings(30)).build());
    // The name starts at the 6th byte; a set too short to hold it has no end either.
    const IffFile name = parse(testkit::IffBuilder()
                                   .chunk("CTSS", 1, ByteText("\xFD\xFF\x01\x00\x01" "Ann", 8))
                                   .strings(200, bodyStrings(30)).build());
    const IffFile shortName = parse(testkit::IffBuilder()
                                        .chunk("CTSS", 1, ByteText("\0\0\0\0\0", 5))
                                        .strings(200, bodyStrings(30)).build());
    for (const IffFile* iff : {&label, &name, &shortName}) {
        EXPECT_TRUE(wardrobeProblem(*iff).has_value());
        EXPECT_EQ(testkit::errorNumberOf([&] { readFields(*iff, bodySet(*iff)); }), 5);
        EXPECT_EQ(errorContext().stage, 4000);
    }
    EXPECT_EQ(wardrobeProblem(label), "the label of its object chunk 1 has no end");
    EXPECT_EQ(wardrobeProblem(name), "the name in its catalogue chunk 1 has no end");
}

TEST(WardrobeProblem, FilesWithoutAReadableWardrobe) {
    const IffFile none = parse(testkit::IffBuilder().chunk("OBJD", 1, "x", "user1").build());
    EXPECT_EQ(wardrobeProblem(none), "it has no wardrobe strings");
    // Another resource id, or the right id with other kept bytes, is not the wardrobe.
    const IffFile otherId = parse(testkit::IffBuilder()
                                      .chunkWithIdField("STR#", testkit::idField(200),
                                                        testkit::stringSetData(bodyStrings(34)))
                                      .build());
    EXPECT_EQ(wardrobeProblem(otherId), "it has no wardrobe strings");
    const IffFile cut = parse(testkit::IffBuilder()
                                  .chunkWithIdField("STR#", testkit::idField(200, 0, 0x10),
                                                    ByteText("\xFD\xFF\x02\x00\x01" "adult", 10))
                                  .build());
    EXPECT_EQ(wardrobeProblem(cut),
              "its wardrobe strings can not be read (Error 5 - Invalid procedure call or argument)");
    const IffFile picture = parse(testkit::characterFile()
                                      .bitmap("x", 9, "BM").rawLabel(ByteText(64, 'p'))
                                      .build());
    // A picture label without a NUL is taken whole when exported, so the sim still opens.
    EXPECT_EQ(wardrobeProblem(picture), std::nullopt);
}
