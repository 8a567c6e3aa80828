#include <gtest/gtest.h>

#include "wardrobe/default_rules.h"

using namespace drapeline::wardrobe;

namespace {

RuleInputs sim(std::string age, std::string gender, std::string b, std::string t, std::size_t n) {
    return {std::move(age), std::move(gender), std::move(b), std::move(t), n};
}

struct OutfitCase {
    OutfitKind kind;
    RuleInputs in;
    std::optional<OutfitNames> expected;
};

}  // namespace

TEST(DefaultRules, OutfitNamesAtTheEdgesOfAgeGenderAndEntryCount) {
    const auto woman = [](std::size_t n) { return sim("adult", "female", "fit", "lgt", n); };
    const auto man = [](std::size_t n) { return sim("adult", "male", "fat", "med", n); };
    const auto girl = [](std::size_t n) { return sim("child", "female", "chd", "drk", n); };
    const auto boy = [](std::size_t n) { return sim("child", "male", "chd", "drk", n); };
    using O = OutfitNames;
    const OutfitCase cases[] = {
        // The worked example: the cli's defaults test has every name of it with 34 entries
        // and the missing pajamas and winter with 30.
        {OutfitKind::Formal, woman(30), O{"fffit_01", "fffitlgt_01"}},
        {OutfitKind::Swimsuit, woman(30), O{"nffit_01", "uffitlgt_undies01"}},
        // 31: the "_original" names, but no winter until 34.
        {OutfitKind::Formal, man(30), O{"fmfat_01", "fmfatmed_01"}},
        {OutfitKind::Swimsuit, man(30), O{"nmfat_01", "umfatmed_undies01"}},
        {OutfitKind::Formal, man(31), O{"f100mafat_original", "f100mafatmed_original"}},
        {OutfitKind::Pajamas, man(31), O{"l100mafat_original", "l100mafatmed_original"}},
        {OutfitKind::Winter, man(31), std::nullopt},
        {OutfitKind::Winter, man(33), std::nullopt},
        {OutfitKind::Winter, man(34), O{"W100mafat_original", "W100mafatmed_original"}},
        {OutfitKind::Nude, man(30), O{"nmfat_01", "nmfatmed_01"}},
        // Children: no formal at all, their own nude and underwear names.
        {OutfitKind::Formal, girl(34), O{"", ""}},
        {OutfitKind::Formal, boy(30), O{"", ""}},
        {OutfitKind::Nude, girl(30), O{"nuchd_01", "nuchddrk_01"}},
        {OutfitKind::Swimsuit, girl(30), O{"nuchd_01", "ufchddrk_undies01"}},
        {OutfitKind::Swimsuit, boy(30), O{"nuchd_01", "umchddrk_undies01"}},
        {OutfitKind::Swimsuit, boy(31), O{"s100mcchd_original", "s100mcchddrk_original"}},
        {OutfitKind::Pajamas, girl(33), O{"l100fcchd_original", "l100fcchddrk_original"}},
        {OutfitKind::Winter, boy(34), O{"W100mcchd_original", "W100mcchddrk_original"}},
        // Only the exact texts count; B is used as typed, even when short.
        {OutfitKind::Formal, sim("adult", "Female", "fit", "lgt", 34),
         O{"f100mafit_original", "f100mafitlgt_original"}},
        {OutfitKind::Nude, sim("Adult", "female", "fit", "lgt", 34), O{"nuchd_01", "nuchdlgt_01"}},
        {OutfitKind::Formal, sim("adult", "male", "FAT", "drk", 31),
         O{"f100maFAT_original", "f100maFATdrk_original"}},
        {OutfitKind::Nude, sim("adult", "female", "", "lgt", 34), O{"nf_01", "nflgt_01"}},
        {OutfitKind::Normal, woman(34), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(defaultOutfit(c.kind, c.in), c.expected)
            << static_cast<int>(c.kind) << " " << c.in.age << " " << c.in.gender << " " << c.in.entryCount;
        // A Default button is disabled, with a reason, exactly where it would restore nothing.
        EXPECT_EQ(noDefaultReason(c.kind, c.in).empty(), c.expected || c.kind == OutfitKind::Normal)
            << static_cast<int>(c.kind) << " " << c.in.entryCount;
    }
}

TEST(DefaultRules, HandsDependOnToneAndForTheFormalPoseOnGenderOnly) {
    const RuleInputs darkMan = sim("adult", "male", "fit", "drk", 34);
    EXPECT_EQ(defaultHands(HandPose::Closed, darkMan), (HandPair{"huacdrk", "huacdrk"}));
    EXPECT_EQ(defaultHands(HandPose::Open, darkMan), (HandPair{"huaodrk", "huaodrk"}));
    EXPECT_EQ(defaultHands(HandPose::Point, darkMan), (HandPair{"huapdrk", "huapdrk"}));
    EXPECT_EQ(defaultHands(HandPose::Formal, darkMan), (HandPair{"", ""}));
    EXPECT_EQ(defaultHands(HandPose::Formal, sim("child", "female", "", "", 12)),
              (HandPair{"gfao_bride", "gfao_bride"}));
    EXPECT_EQ(defaultHands(HandPose::Formal, sim("adult", "Female", "", "", 34)), (HandPair{"", ""}));
}
