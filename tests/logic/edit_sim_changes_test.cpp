#include <gtest/gtest.h>

#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;
using platform::MessageIcon;
using platform::MessageReply;
using platform::StockPicture;

namespace {

class EditSimChanges : public EditSimTest {
protected:
    void open(const std::vector<std::string>& texts) {
        ASSERT_TRUE(model.open(game.write("UserData2/Characters/User00001.iff", simFile(texts))));
        machine.pictures.loaded.clear();
    }
    std::vector<std::string> askedFolders() const {
        std::vector<std::string> out;
        for (const auto& p : machine.pictures.loaded) out.push_back(platform::fileNameOf(platform::folderOf(p)));
        return out;
    }
};

}  // namespace

TEST_F(EditSimChanges, DefaultAsksAndOnYesWritesTheNamesAndLooksForThePreview) {
    installSkin("ExpansionShared/SkinsBuy/f100faFATlgt_original.bmp");
    open(bodyStrings(34));
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).mesh = "B003MAFAT_01"; });   // chosen since opening
    const WardrobeFields before = model.fields();
    const auto previewBefore = preview(OutfitKind::Formal);
    // No changes nothing.
    EXPECT_FALSE(model.applyDefaultOutfit(OutfitKind::Formal));
    EXPECT_FALSE(model.applyDefaultHands(HandPose::Open));
    EXPECT_EQ(model.fields(), before);
    EXPECT_EQ(preview(OutfitKind::Formal).picture, previewBefore.picture);
    EXPECT_EQ(preview(OutfitKind::Formal).stock, previewBefore.stock);
    EXPECT_TRUE(machine.pictures.loaded.empty());
    ASSERT_EQ(machine.dialogs.shown.size(), 2u);

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.applyDefaultOutfit(OutfitKind::Formal));
    EXPECT_EQ(machine.dialogs.shown[2], (testkit::ScriptedDialogs::Box{"Restore formal to the default?\r\nAre You Sure?",
                                                                       MessageIcon::Question,
                                                                       platform::MessageButtons::YesNo, "Confirm Action"}));
    EXPECT_EQ(model.fields().outfit(OutfitKind::Formal),
              (OutfitNames{"f100faFAT_original", "f100faFATlgt_original"}));
    EXPECT_EQ(shown(preview(OutfitKind::Formal)), "SkinsBuy/f100faFATlgt_original.bmp");
    EXPECT_EQ(askedFolders(), (std::vector<std::string>{"skins", "SkinsBuy", "SkinsBuy"}));
}

TEST_F(EditSimChanges, WinterWithoutADefaultKeepsItsFieldsButStillRefreshesThePreview) {
    open(bodyStrings(33));
    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.applyDefaultOutfit(OutfitKind::Winter));
    EXPECT_EQ(machine.dialogs.shown[0].text, "Restore winter clothes to the default?\r\nAre You Sure?");
    EXPECT_EQ(model.fields().outfit(OutfitKind::Winter).texture, WinterPlaceholder);
    EXPECT_EQ(shown(preview(OutfitKind::Winter)), stock(StockPicture::NotFound));
    EXPECT_EQ(askedFolders(), (std::vector<std::string>{"skins", "SkinsBuy"}));
    EXPECT_NE(machine.pictures.loaded[1].find("ExpansionShared"), std::string::npos);
}

TEST_F(EditSimChanges, EmptyDefaultsShowTheStockPictureEvenBesideAFileNamedDotBmp) {
    installSkin("gamedata/skins/.bmp");
    open(withEntries(bodyStrings(34, "child", "male"), {{2, "b003mcchd_01,BODY=b003mcchdlgt_01"}}));
    machine.dialogs.replies = {MessageReply::Yes, MessageReply::Yes};
    EXPECT_TRUE(model.applyDefaultOutfit(OutfitKind::Formal));
    EXPECT_EQ(model.fields().outfit(OutfitKind::Formal), (OutfitNames{"", ""}));
    EXPECT_EQ(shown(preview(OutfitKind::Formal)), stock(StockPicture::NotFound));
    EXPECT_TRUE(model.applyDefaultHands(HandPose::Formal));
    EXPECT_EQ(model.fields().hand(HandSlot::FormalLeft), "");
    EXPECT_EQ(model.fields().hand(HandSlot::FormalRight), "");
    EXPECT_EQ(shown(preview(HandSlot::FormalRight)), stock(StockPicture::HandNotFound));
}

TEST_F(EditSimChanges, HandDefaultsLookUpTheLeftTextureOnlyAndShareItsPicture) {
    installSkin("GameData/Skins/gfao_bride.bmp");
    installSkin("ExpansionPack3/SkinsBuy/huaolgt.bmp");   // hands look in the base folder only
    open(bodyStrings(34));
    machine.dialogs.replies = {MessageReply::Yes, MessageReply::Yes};

    EXPECT_TRUE(model.applyDefaultHands(HandPose::Formal));
    EXPECT_EQ(machine.dialogs.shown[0].text, "Restore formal hands to the default?\r\nAre You Sure?");
    EXPECT_EQ(model.fields().hand(HandSlot::FormalRight), "gfao_bride");
    EXPECT_EQ(shown(preview(HandSlot::FormalLeft)), "Skins/gfao_bride.bmp");
    EXPECT_EQ(preview(HandSlot::FormalRight).picture, preview(HandSlot::FormalLeft).picture);
    EXPECT_EQ(machine.pictures.loaded.size(), 1u);

    EXPECT_TRUE(model.applyDefaultHands(HandPose::Open));
    EXPECT_EQ(model.fields().hand(HandSlot::OpenLeft), "huaolgt");
    EXPECT_EQ(model.fields().hand(HandSlot::OpenRight), "huaolgt");
    EXPECT_EQ(shown(preview(HandSlot::OpenRight)), stock(StockPicture::HandNotFound));
}

TEST_F(EditSimChanges, FilterCodeOfAChangeButton) {
    struct Case {
        std::string age, gender, tone;
        BodyType bodyType;
        OutfitKind kind;
        std::string code;
    };
    const Case cases[] = {
        {"child", "male", "drk", BodyType::Fat, OutfitKind::Swimsuit, "mcdrkfatS"},
        {"adult", "female", "lgt", BodyType::Fit, OutfitKind::Formal, "falgtfitF"},
        {"adult", "female", "med", BodyType::None, OutfitKind::Normal, "famedsknB"},
        {"adult", "Female", "lgt", BodyType::Skinny, OutfitKind::Winter, "malgtsknW"},
        {"Adult", "female", "LGT", BodyType::Fit, OutfitKind::Pajamas, "fcLGTfitL"},
        {"adult", "male", "lgt", BodyType::Fit, OutfitKind::Nude, "malgtfitN"},
    };
    for (const auto& c : cases) {
        open(withEntries(bodyStrings(34, c.age, c.gender), {{15, c.tone}}));
        model.changeFields([&](wardrobe::WardrobeFields& f) { f.bodyType = c.bodyType; });   // the option buttons as the user left them
        EXPECT_EQ(model.outfitRequest(c.kind).filterCode, c.code);
        EXPECT_FALSE(model.outfitRequest(c.kind).hands);
    }
}

TEST_F(EditSimChanges, AnOutfitChoiceSplitsAtTheCommaAndChoicesShowTheChosenBitmap) {
    open(bodyStrings(34));
    const std::string chosen = installSkin("ExpansionPack3/SkinsBuy/b003fafitlgt_01.bmp", 7);
    model.applyOutfitChoice(OutfitKind::Normal, {"b003fafit_01,b003fafitlgt_01", chosen});
    EXPECT_EQ(model.fields().outfit(OutfitKind::Normal), (OutfitNames{"b003fafit_01", "b003fafitlgt_01"}));
    EXPECT_EQ(preview(OutfitKind::Normal).path, chosen);
    EXPECT_EQ(preview(OutfitKind::Normal).picture->width(), 7);
    EXPECT_EQ(model.fields().bodyType, BodyType::Fit);   // read, never moved by a choice

    // Winter of a layout without winter: the placeholder gives way in the window.
    model.applyOutfitChoice(OutfitKind::Winter, {"w1,w1lgt", ""});
    EXPECT_EQ(model.fields().outfit(OutfitKind::Winter), (OutfitNames{"w1", "w1lgt"}));
    EXPECT_EQ(shown(preview(OutfitKind::Winter)), stock(StockPicture::None));

    // The listed file went away before the choice came back.
    model.applyOutfitChoice(OutfitKind::Swimsuit, {"s1,s1lgt", game / "gamedata/skins/s1lgt.bmp"});
    EXPECT_EQ(model.fields().outfit(OutfitKind::Swimsuit).texture, "s1lgt");
    EXPECT_EQ(shown(preview(OutfitKind::Swimsuit)), stock(StockPicture::NotFound));

    // A hand choice is shown from the base folder, or as not found when gone from it since listed.
    installSkin("gamedata/skins/huaclgt.bmp");
    installSkin("ExpansionPack3/SkinsBuy/huacdrk.bmp");
    model.applyHandChoice(HandSlot::ClosedRight, {"huaclgt", std::nullopt});
    EXPECT_EQ(model.fields().hand(HandSlot::ClosedRight), "huaclgt");
    EXPECT_EQ(shown(preview(HandSlot::ClosedRight)), "skins/huaclgt.bmp");
    model.applyHandChoice(HandSlot::ClosedLeft, {"huacdrk", std::nullopt});
    EXPECT_EQ(model.fields().hand(HandSlot::ClosedLeft), "huacdrk");
    EXPECT_EQ(shown(preview(HandSlot::ClosedLeft)), stock(StockPicture::HandNotFound));
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(EditSimChanges, ACancelledChoiceChangesNothingAndAChoiceWithoutACommaFails) {
    open(bodyStrings(34));
    const WardrobeFields before = model.fields();
    model.applyOutfitChoice(OutfitKind::Normal, {});
    model.applyHandChoice(HandSlot::OpenLeft, {});
    EXPECT_EQ(model.fields(), before);
    EXPECT_TRUE(machine.pictures.loaded.empty());

    EXPECT_EQ(testkit::errorNumberOf([&] { model.applyOutfitChoice(OutfitKind::Formal, {"b003fafit_01", ""}); }), 5);
    EXPECT_EQ(errorContext().stage, 3000);
    EXPECT_EQ(model.fields(), before);
}

TEST_F(EditSimChanges, CopyLeftCopiesAnEmptyFieldAndItsStockPicture) {
    installSkin("gamedata/skins/gfac_lgt.bmp");
    open(withEntries(bodyStrings(34), {{22, ""}}));   // ClosedLeft
    EXPECT_EQ(shown(preview(HandSlot::ClosedRight)), "skins/gfac_lgt.bmp");
    model.copyLeft(HandPose::Closed);
    EXPECT_EQ(model.fields().hand(HandSlot::ClosedRight), "");
    EXPECT_EQ(shown(preview(HandSlot::ClosedRight)), stock(StockPicture::HandNotFound));
    EXPECT_TRUE(machine.pictures.loaded.empty());
    EXPECT_TRUE(machine.dialogs.shown.empty());
}

TEST_F(EditSimChanges, NormalFormalHandsAsksAndOnYesEmptiesBoth) {
    installSkin("gamedata/skins/gfao_bride.bmp");
    open(bodyStrings(34));
    const WardrobeFields before = model.fields();
    EXPECT_FALSE(model.normalFormalHands());
    EXPECT_EQ(model.fields(), before);
    EXPECT_EQ(shown(preview(HandSlot::FormalLeft)), "skins/gfao_bride.bmp");
    ASSERT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_EQ(machine.dialogs.shown[0].text,
              "Formal hands are the same as normal\r\nhands if the formal hands' string is\r\n"
              "left blank. This is the default for \r\nmale sims.\r\n\r\n"
              "Change formal hands to normal?\r\nAre You Sure?");
    EXPECT_EQ(machine.dialogs.shown[0].title, "Confirm Action");

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.normalFormalHands());
    EXPECT_EQ(model.fields().hand(HandSlot::FormalLeft), "");
    EXPECT_EQ(model.fields().hand(HandSlot::FormalRight), "");
    EXPECT_EQ(shown(preview(HandSlot::FormalLeft)), stock(StockPicture::HandNotFound));
    EXPECT_EQ(shown(preview(HandSlot::FormalRight)), stock(StockPicture::HandNotFound));
}
