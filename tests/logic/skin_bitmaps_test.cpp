#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/support/temp_folder.h"
#include "wardrobe/previews.h"

using namespace drapeline;

// A preview's bitmap is found as the case-blind path lookup found it: the name as spelt
// first, then the first variant in byte order; unsafe names name nothing.
TEST(SkinBitmaps, FindsTheNameAsACaseBlindLookupDoes) {
    testkit::TempFolder game;
    for (const char* name : {"b001fafitlgt_01.bmp", "S001FAFITlgt_01.bmp", "s001fafitLGT_01.bmp", "N001.bmp"})
        game.write(std::string("GameData/Skins/") + name, "x");
    game.makeFolder("GameData/Skins/w001.bmp");
    wardrobe::SkinBitmaps bitmaps(game.path());
    const std::string skins = game / "GameData/Skins";
    struct Case {
        const char* folder;
        const char* texture;
        std::string path;
        bool needsCaseDistinctFiles = false;
    };
    const Case cases[] = {
        {"gamedata/skins", "b001fafitlgt_01", platform::joinPath(skins, "b001fafitlgt_01.bmp")},
        {"gamedata/skins", "s001fafitLGT_01", platform::joinPath(skins, "s001fafitLGT_01.bmp"), true},
        {"gamedata/skins", "s001fafitlgt_01", platform::joinPath(skins, "S001FAFITlgt_01.bmp")},
        {"gamedata/skins", "n001", platform::joinPath(skins, "N001.bmp")},
        {"gamedata/skins", "missing", platform::joinPath(skins, "missing.bmp")},
        {"GAMEDATA/SKINS", "n001", platform::joinPath(skins, "N001.bmp")},
        {"ExpansionPack3/SkinsBuy", "n001", game / "ExpansionPack3/SkinsBuy/n001.bmp"},
        {"gamedata/skins", "", ""},
        {"gamedata/skins", "../Skins/n001", ""},
        {"gamedata/skins", "c:n001", ""},
    };
    const bool oneFilePerFoldedName = game.ignoresCase();
    for (const auto& c : cases) {
        if (c.needsCaseDistinctFiles && oneFilePerFoldedName) continue;
        EXPECT_EQ(bitmaps.bitmapPath(c.folder, c.texture), c.path) << c.texture;
    }
}
