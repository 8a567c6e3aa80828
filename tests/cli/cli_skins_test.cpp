#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
using testkit::simWith;

TEST(CliSkins, DefaultsAreWhatEachDefaultButtonWrites) {
    testkit::TempFolder folder;
    testkit::TempFolder home;
    const auto full = cli({"defaults", folder.write("User00001.iff", simWith({}))},
                          {"DRAPELINE_HOME=" + home.path()});
    EXPECT_EQ(full.exitCode, 0) << full.err;
    EXPECT_EQ(full.out,
              "{\"formal\":{\"mesh\":\"f100fafit_original\",\"texture\":\"f100fafitlgt_original\"},"
              "\"nude\":{\"mesh\":\"nffit_01\",\"texture\":\"nffitlgt_01\"},"
              "\"pajamas\":{\"mesh\":\"l100fafit_original\",\"texture\":\"l100fafitlgt_original\"},"
              "\"swimsuit\":{\"mesh\":\"s100fafit_original\",\"texture\":\"s100fafitlgt_original\"},"
              "\"winter\":{\"mesh\":\"W100fafit_original\",\"texture\":\"W100fafitlgt_original\"},"
              "\"formalHands\":{\"left\":\"gfao_bride\",\"right\":\"gfao_bride\"},"
              "\"openHands\":{\"left\":\"huaolgt\",\"right\":\"huaolgt\"},"
              "\"pointHands\":{\"left\":\"huaplgt\",\"right\":\"huaplgt\"},"
              "\"closedHands\":{\"left\":\"huaclgt\",\"right\":\"huaclgt\"}}\n");
    // Opening the sim exported its pictures somewhere else than the program folder.
    EXPECT_TRUE(platform::listFolder(home.path(), "*", platform::Listing::FilesAndFolders).empty());

    const auto older = cli({"defaults", folder.write("User00002.iff", simWith({}, 30))});
    EXPECT_EQ(older.exitCode, 0) << older.err;
    EXPECT_NE(older.out.find("\"pajamas\":null,"), std::string::npos);
    EXPECT_NE(older.out.find("\"winter\":null,"), std::string::npos);
}

TEST(CliSkins, ModelsTexturesAndHandsAsTheChooserFindsThem) {
    testkit::TempFolder game;
    const ByteText good = testkit::solidBitmap(4, 4, {1, 2, 3});
    game.write("GameData/Skins/S001fafit_01.cmx", "");
    game.write("GameData/Skins/B001fafit_01.cmx", "");
    game.write("ExpansionShared/SkinsBuy/s001FAFIT_01.cmx", "");
    game.write("GameData/Skins/s001fafitlgt_01.bmp", good);
    game.write("GameData/Skins/s001fafitlgt_02.bmp", good.substr(0, 60));
    game.write("ExpansionShared/SkinsBuy/s001fafitlgt_01.bmp", good);
    game.write("GameData/Skins/huaolgt.bmp", good);
    game.write("GameData/Skins/gfao_bride.bmp", "BM");

    const auto all = cli({"skins", "--game", game.path(), "--code", "falgtfitS"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "{\"models\":[\"B001fafit_01\",\"S001fafit_01\"]}\n");

    const auto textures = cli({"skins", "--game", game.path(), "--code", "falgtfitS", "--filtered",
                               "--model", "S001fafit_01"});
    EXPECT_EQ(textures.exitCode, 0) << textures.err;
    EXPECT_EQ(textures.out, "{\"models\":[\"S001fafit_01\"],\"textures\":[\"" +
                                (game / "GameData/Skins/s001fafitlgt_01.bmp") + "\",\"" +
                                (game / "ExpansionShared/SkinsBuy/s001fafitlgt_01.bmp") +
                                "\"],\"bad\":[\"s001fafitlgt_02.bmp\"]}\n");

    const auto hands = cli({"skins", "--game", game.path(), "--hands"});
    EXPECT_EQ(hands.exitCode, 0) << hands.err;
    EXPECT_EQ(hands.out, "{\"textures\":[\"" + (game / "GameData/Skins/huaolgt.bmp") +
                             "\"],\"bad\":[\"gfao_bride.bmp\"]}\n");

    const auto noUnderscore = cli({"skins", "--game", game.path(), "--code", "falgtfitS", "--model", "S001"});
    EXPECT_EQ(noUnderscore.exitCode, 1);
    EXPECT_EQ(noUnderscore.err, "Error 5 - Invalid procedure call or argument\n");

    const auto noGame = cli({"skins", "--game", game / "nowhere", "--hands"});
    EXPECT_EQ(noGame.exitCode, 1);
    EXPECT_EQ(cli({"skins", "--game", game.path()}).exitCode, 2);
}
