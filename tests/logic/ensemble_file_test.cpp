#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ensembles/ensemble_file.h"
#include "platform/files.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::ensembles;
using wardrobe::HandSlot;
using wardrobe::OutfitKind;
using wardrobe::WardrobeFields;
using wardrobe::OutfitNames;
using wardrobe::WardrobeLayout;
using wardrobe::PajamasPlaceholder;
using wardrobe::WinterPlaceholder;

namespace {

const char* const ExampleLines[] = {
    "b003fafit_01",          "b003fafitlgt_01",          "s100fafit_original",
    "s100fafitlgt_original", "f100fafit_original",       "f100fafitlgt_original",
    "l100fafit_original",    "l100fafitlgt_original",    "nffit_01",
    "nffitlgt_01",           "gfao_bride",               "gfao_bride",
    "huaclgt",               "huacrgt",                  "huaolgt",
    "huaorgt",               "huaplgt",                  "huaprgt",
    "W100fafit_original",    "W100fafitlgt_original"};

WardrobeFields exampleFields() {
    WardrobeFields f;
    f.outfit(OutfitKind::Normal) = {"b003fafit_01", "b003fafitlgt_01"};
    f.outfit(OutfitKind::Swimsuit) = {"s100fafit_original", "s100fafitlgt_original"};
    f.outfit(OutfitKind::Formal) = {"f100fafit_original", "f100fafitlgt_original"};
    f.outfit(OutfitKind::Pajamas) = {"l100fafit_original", "l100fafitlgt_original"};
    f.outfit(OutfitKind::Nude) = {"nffit_01", "nffitlgt_01"};
    f.outfit(OutfitKind::Winter) = {"W100fafit_original", "W100fafitlgt_original"};
    f.hand(HandSlot::FormalLeft) = "gfao_bride";
    f.hand(HandSlot::FormalRight) = "gfao_bride";
    f.hand(HandSlot::ClosedLeft) = "huaclgt";
    f.hand(HandSlot::ClosedRight) = "huacrgt";
    f.hand(HandSlot::OpenLeft) = "huaolgt";
    f.hand(HandSlot::OpenRight) = "huaorgt";
    f.hand(HandSlot::PointLeft) = "huaplgt";
    f.hand(HandSlot::PointRight) = "huaprgt";
    return f;
}

std::string joined(std::size_t count, const char* end, bool lastEnded = true) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += i < 20 ? ExampleLines[i] : "extra";
        if (i + 1 < count || lastEnded) text += end;
    }
    return text;
}

// A sim dressed in other names, so that every field a load fills shows.
WardrobeFields worn() {
    WardrobeFields f;
    for (auto& o : f.outfits) o = {"old mesh", "old texture"};
    for (auto& h : f.hands) h = "old hand";
    f.name = "Bella";
    return f;
}

}  // namespace

TEST(EnsembleFile, WritesTwentyLinesInFileOrderAndReadsEighteenOrTwentyWithEitherLineEnd) {
    EXPECT_EQ(ensembleText(exampleFields()), joined(20, "\r\n"));
    WardrobeFields withoutWinter = exampleFields();
    withoutWinter.outfit(OutfitKind::Winter) = {"old mesh", "old texture"};
    withoutWinter.name = "Bella";   // identity is not part of an ensemble
    WardrobeFields all = exampleFields();
    all.name = "Bella";
    struct Case {
        std::string content;
        const WardrobeFields& expected;
    };
    const Case cases[] = {
        {ensembleText(exampleFields()), all},
        {joined(18, "\r\n"), withoutWinter},
        {joined(18, "\n", false), withoutWinter},
        {joined(20, "\n"), all},
        {joined(20, "\r\n", false), all},
        {joined(23, "\r\n"), all},
    };
    for (const auto& c : cases) {
        WardrobeFields f = worn();
        EXPECT_EQ(applyEnsemble(c.content, f, WardrobeLayout::Long), std::nullopt) << c.content;
        EXPECT_EQ(f, c.expected) << c.content;
    }
}

// An ensemble taken from a sim without pajamas and winter carries their placeholders.
TEST(EnsembleFile, APlaceholderLineNeverReplacesAFieldTheLayoutHolds) {
    WardrobeFields source = exampleFields();
    source.outfit(OutfitKind::Pajamas) = {PajamasPlaceholder, PajamasPlaceholder};
    source.outfit(OutfitKind::Winter) = {WinterPlaceholder, WinterPlaceholder};
    source.hand(HandSlot::OpenLeft) = WinterPlaceholder;   // a hand-made file
    const ByteText text = ensembleText(source);
    struct Case {
        WardrobeLayout layout;
        OutfitNames pajamas, winter;
    };
    const Case cases[] = {
        {WardrobeLayout::Long, {"old mesh", "old texture"}, {"old mesh", "old texture"}},
        {WardrobeLayout::AdultMiddle, {"old mesh", "old texture"}, {WinterPlaceholder, WinterPlaceholder}},
        {WardrobeLayout::Short, {PajamasPlaceholder, PajamasPlaceholder}, {WinterPlaceholder, WinterPlaceholder}},
    };
    for (const auto& c : cases) {
        WardrobeFields f = worn();
        EXPECT_EQ(applyEnsemble(text, f, c.layout), std::nullopt);
        EXPECT_EQ(f.outfit(OutfitKind::Pajamas), c.pajamas);
        EXPECT_EQ(f.outfit(OutfitKind::Winter), c.winter);
        EXPECT_EQ(f.hand(HandSlot::OpenLeft), "old hand");
        EXPECT_EQ(f.outfit(OutfitKind::Formal), source.outfit(OutfitKind::Formal));
    }
}

// Every line that could not be saved as it stands is refused, naming the line (more
// hostile lines in CliEnsembles).
TEST(EnsembleFile, RefusesOtherLineCountsAndLinesThatAreNoNamesWithoutChangingAField) {
    // The example with some lines (numbered from 1) replaced.
    const auto with = [](const std::map<std::size_t, std::string>& lines, std::size_t count = 20) {
        std::string content;
        for (std::size_t i = 0; i < count; ++i)
            content += (lines.contains(i + 1) ? lines.at(i + 1) : std::string(ExampleLines[i])) + "\r\n";
        return content;
    };
    const std::string lineCount = "but an ensemble file has 18 lines, or 20 with the winter outfit";
    const std::pair<std::string, std::string> cases[] = {
        {"", "it has 0 lines, " + lineCount},
        {joined(17, "\r\n"), "it has 17 lines, " + lineCount},
        {joined(19, "\r\n"), "it has 19 lines, " + lineCount},
        {joined(18, "\r\n") + "\r\n", "it has 19 lines, " + lineCount},
        {with({{15, std::string("hu\0olgt", 7)}}), "line 15 holds a NUL byte"},
        {with({{2, "\x7F" "ELF\x02\x01"}}), "line 2 holds a control character"},
        {with({{4, "s100\x9B" "fit"}}), "line 4 holds a control character"},
        {with({{3, "s100\rfit"}}), "line 3 holds a control character"},
        {with({{10, "nf=x"}}), "line 10 holds \"=\", which no name may hold"},
        {with({{19, "..\\..\\winter"}}), "line 19 holds \"\\\", which no name may hold"},
        {with({{1, ""}}), "line 1 is empty: the Normal outfit needs both a mesh and a texture"},
        {with({{10, ""}}, 18), "line 10 is empty: the Nude outfit needs both a mesh and a texture"},
        {with({{6, ""}}), "line 6 is empty: the Formal outfit has a mesh but no texture"},
        {with({{3, ""}}), "line 3 is empty: the Swimsuit outfit has a texture but no mesh"},
        {with({{16, ""}}), "line 16 is empty: the open right hand needs a texture"},
        {with({{12, ""}}),
         "line 12 is empty: the formal hands are kept only as a pair, but only the left one would be named"},
    };
    for (const auto& [content, problem] : cases) {
        WardrobeFields f = worn();
        EXPECT_EQ(applyEnsemble(content, f, WardrobeLayout::Long), problem);
        EXPECT_EQ(f, worn());
    }
    // Empty where the save writes an empty entry: the formal outfit without a mesh, an
    // outfit left out whole, the formal hands as a pair.
    WardrobeFields f = worn();
    EXPECT_EQ(applyEnsemble(with({{5, ""}, {7, ""}, {8, ""}, {11, ""}, {12, ""}}), f, WardrobeLayout::Long),
              std::nullopt);
    EXPECT_EQ(f.outfit(OutfitKind::Pajamas), (OutfitNames{"", ""}));
    EXPECT_EQ(f.hand(HandSlot::FormalRight), "");
}

TEST(EnsembleFile, NamesGetTheExtensionOnceUnsafeNamesAreRefusedAndAnyCaseIsListed) {
    for (const auto& [typed, name] : {std::pair{"party", "party.ENX"}, {"party.enx", "party.enx"},
                                      {"PARTY.Enx", "PARTY.Enx"}, {"enx", "enx.ENX"}, {"party.en", "party.en.ENX"}})
        EXPECT_EQ(withEnxExtension(typed), name);

    for (const std::string name : {"summer set.ENX", "Zoë.ENX", "a.b.ENX"})
        EXPECT_EQ(unsafeNameProblem(name), std::nullopt) << name;
    for (const std::string name : {"../x.ENX", "..", "a/b.ENX", "a\\b.ENX", "C:x.ENX", "*.ENX",
                                   "set?.ENX", "a\nb.ENX", "a\tb"}) {
        const auto problem = unsafeNameProblem(name);
        ASSERT_TRUE(problem) << name;
        EXPECT_NE(problem->find("can not be used for an ensemble file"), std::string::npos);
    }

    // Files of any letter case are listed.
    testkit::TempFolder program;
    for (const char* name : {"a.enx", "B.ENX", "c.Enx", "d.txt", "e.enx.bak"}) program.write(std::string("ENX/") + name, "x");
    program.makeFolder("ENX/folder.enx");
    EXPECT_EQ(listEnsembleFiles(program.path()), (std::vector<std::string>{"a.enx", "B.ENX", "c.Enx"}));
    EXPECT_EQ(ensembleFolder(program.path()), program / "ENX");
}

using EnsemblePreviews = wardrobe_fixtures::EditSimTest;

TEST_F(EnsemblePreviews, RefreshSearchesEachOutfitInThreeFoldersAndEachHandInTwo) {
    installSkin("ExpansionShared/SkinsBuy/nude_t.bmp");      // the third folder serves outfits
    installSkin("expansionpack3/skinsbuy/left_t.bmp");       // the second serves hands
    installSkin("ExpansionShared/SkinsBuy/right_t.bmp");     // the third does not
    wardrobe::WardrobeFields f = model.fields();
    f.outfit(OutfitKind::Nude).texture = "nude_t";
    f.outfit(OutfitKind::Winter).texture = "winter_t";
    f.outfit(OutfitKind::Formal).texture = "../../escape";
    f.hand(HandSlot::ClosedRight) = "closed_t";
    f.hand(HandSlot::OpenLeft) = "open_t";
    f.hand(HandSlot::PointLeft) = "left_t";
    f.hand(HandSlot::PointRight) = "right_t";
    model.loadFields(f);

    ASSERT_TRUE(preview(OutfitKind::Nude).picture);
    EXPECT_EQ(preview(OutfitKind::Nude).path, game / "ExpansionShared/SkinsBuy/nude_t.bmp");
    for (const OutfitKind k : {OutfitKind::Normal, OutfitKind::Formal})
        EXPECT_EQ(shown(preview(k)), stock(platform::StockPicture::NotFound));
    EXPECT_EQ(preview(HandSlot::PointLeft).path, game / "expansionpack3/skinsbuy/left_t.bmp");
    for (const HandSlot s : {HandSlot::PointRight, HandSlot::FormalLeft})
        EXPECT_EQ(shown(preview(s)), stock(platform::StockPicture::HandNotFound));

    // Winter is looked up before nude, the closed hands before the open ones.
    std::vector<std::string> order;
    for (const auto& path : machine.pictures.loaded) order.push_back(platform::fileNameOf(path));
    const auto at = [&](const std::string& name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    EXPECT_LT(at("winter_t.bmp"), at("nude_t.bmp"));
    EXPECT_LT(at("closed_t.bmp"), at("open_t.bmp"));
    EXPECT_EQ(std::count(order.begin(), order.end(), "closed_t.bmp"), 2);
    EXPECT_EQ(at("escape.bmp"), static_cast<long>(order.size()));
}
