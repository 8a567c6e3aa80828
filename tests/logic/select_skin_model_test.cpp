#include <gtest/gtest.h>

#include "skins/select_skin_model.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::skins;

namespace {

class Chooser : public wardrobe_fixtures::GameFolders {
protected:
    shell::GameSession session{game.path()};
    SelectSkinModel model{machine.services, session, shell::SkinRequest{"falgtfitB", false, {}, {}}};

    // `count` textures of model b003fafit_01 in light skin, and its mesh.
    void install(int count) {
        game.write("GameData/Skins/b003fafit_01.cmx", "mesh");
        for (int i = 0; i < count; ++i)   // b003fafitlgt_000.bmp on
            game.write("GameData/Skins/b003fafitlgt_" + std::to_string(1000 + i).substr(1) + ".bmp",
                       testkit::solidBitmap(8, 8, {1, 2, 3}));
    }
};

}  // namespace

TEST_F(Chooser, PagesAndClicksSelectAnEmptyCellKeepsThePreviousTextureAndBadFilesAreReportedOnce) {
    install(50);
    game.write("GameData/Skins/b003fafitlgt_x.bmp", "not a bitmap");
    model.open();
    model.chooseModel(model.modelLines().at(0));
    EXPECT_EQ(model.fileCount(), 50u);
    ASSERT_TRUE(model.fillPage());
    EXPECT_EQ(model.pageText(), "Page 1 of 2");
    EXPECT_TRUE(model.selectAt(0, 68));
    EXPECT_EQ(model.pager().cell(), 7);
    EXPECT_EQ(model.skinName(), "b003fafitlgt_007");
    EXPECT_EQ(model.tooltipAt(0, 68), model.textures().files[7]);

    ASSERT_TRUE(model.nextPage());
    ASSERT_TRUE(model.fillPage());
    EXPECT_EQ(model.pageFiles(), std::vector<std::size_t>{49});
    EXPECT_EQ(model.skinName(), "b003fafitlgt_049");
    EXPECT_FALSE(model.selectAt(68 * 3, 68 * 3));   // empty cell
    EXPECT_EQ(model.tooltipAt(68 * 3, 68 * 3), "");
    const auto choice = model.choice();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->skin, "b003fafit_01,b003fafitlgt_049");
    EXPECT_EQ(choice->previewFile, model.textures().files[49]);
    ASSERT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_EQ(machine.dialogs.shown[0].title, "Bad Skin Files Detected");
    EXPECT_EQ(machine.dialogs.shown[0].icon, platform::MessageIcon::Critical);
}

TEST_F(Chooser, SelectNeedsAModelLineWithTexturesInBodyModeButNotInHandMode) {
    install(3);
    game.write("GameData/Skins/huaolgt.bmp", testkit::solidBitmap(8, 8, {4, 5, 6}));
    model.open();
    EXPECT_FALSE(model.choice());   // no model chosen: nothing to hand back
    model.chooseModel(model.modelLines().at(0));
    ASSERT_TRUE(model.fillPage());
    model.chooseModel("b004fafit_01");   // a model without textures in this skin tone
    EXPECT_FALSE(model.fillPage());
    EXPECT_EQ(model.pageText(), "Page 1 of 1");   // what the model shown before left
    EXPECT_EQ(model.skinName(), "");
    EXPECT_FALSE(model.choice());

    SelectSkinModel hands(machine.services, session, shell::SkinRequest{{}, true, {}, {}});
    hands.open();
    ASSERT_TRUE(hands.fillPage());
    const auto choice = hands.choice();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->skin, "huaolgt");
    EXPECT_FALSE(choice->previewFile);
}

TEST_F(Chooser, OpensOnTheWornModelAndTextureAndTheNameBoxNarrowsTheList) {
    install(60);
    game.write("GameData/Skins/b004fafit_02.cmx", "mesh");
    game.write("GameData/Skins/b004fafitlgt_01.bmp", testkit::solidBitmap(8, 8, {1, 2, 3}));
    SelectSkinModel worn{machine.services, session,
                         shell::SkinRequest{"falgtfitB", false, "B003FAFIT_01", "b003fafitlgt_055"}};
    worn.open();
    ASSERT_EQ(worn.modelLines().size(), 2u);
    ASSERT_EQ(worn.currentModelLine(), std::optional<std::size_t>(0));
    worn.chooseModel(worn.modelLines()[0]);
    ASSERT_TRUE(worn.fillPage());
    // The worn texture's page and cell, not the first page's first cell.
    EXPECT_EQ(worn.skinName(), "b003fafitlgt_055");
    EXPECT_EQ(worn.pageText(), "Page 2 of 2");
    EXPECT_EQ(worn.pager().cell(), 55 - 49);
    // Another model opens on its first texture.
    worn.chooseModel(worn.modelLines()[1]);
    ASSERT_TRUE(worn.fillPage());
    EXPECT_EQ(worn.skinName(), "b004fafitlgt_01");

    worn.setNameFilter("FIT_02");
    EXPECT_EQ(worn.modelLines(), std::vector<std::string>{"b004fafit_02"});
    EXPECT_EQ(worn.currentModelLine(), std::nullopt);
    worn.setFiltered(false);   // a new list keeps the typed text
    EXPECT_EQ(worn.modelLines().size(), 1u);
    worn.setNameFilter("");
    EXPECT_EQ(worn.modelLines().size(), 2u);
}
