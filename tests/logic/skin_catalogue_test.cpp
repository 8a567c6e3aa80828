#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/bmp_pictures.h"
#include "platform/files.h"
#include "skins/skin_catalogue.h"
#include "testkit/fixture_sim.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using namespace drapeline::skins;

namespace {

using Names = std::vector<std::string>;

class SkinCatalogue : public ::testing::Test {
protected:
    testkit::TempFolder game;
    platform::BmpPictureLoader loader;

    void mesh(const std::string& relative) { game.write(relative, "version 1\n"); }
    std::string texture(const std::string& relative) {
        return game.write(relative, testkit::solidBitmap(8, 8, {1, 2, 3}));
    }
    std::string broken(const std::string& relative) {
        return game.write(relative, testkit::solidBitmap(8, 8, {1, 2, 3}).substr(0, 70));
    }
    Names models(std::string_view code) { return findModels(game.path(), SkinData{code}); }
    Names filtered(std::string_view code) { return findFilteredModels(game.path(), SkinData{code}); }
    static Names names(const std::vector<std::string>& paths) {
        Names out;
        for (const auto& p : paths)
            out.push_back(platform::fileNameOf(platform::folderOf(platform::folderOf(p))) + "/" +
                          platform::fileNameOf(p));
        return out;
    }
};

}  // namespace

TEST_F(SkinCatalogue, AdultModelsFitGenderAgeAndBodyTypeInLetterOrder) {
    for (const char* m : {"B001FAFit_01.cmx", "b002fafit_02.CMX", "B003MAFit_01.cmx", "B004FAFat_01.cmx",
                          "S001fafit_01.cmx", "F9fafit_01.cmx", "W001fafit_01.cmx", "N001fafit_01.cmx",
                          "L001fafit_01.cmx", "B001FAFit_01.skn"})
        mesh("GameData/Skins/" + std::string(m));
    EXPECT_EQ(modelPattern('S', SkinData{"falgtfitS"}), "S???fafit_*");
    EXPECT_EQ(models("falgtfitS"),
              (Names{"B001FAFit_01", "b002fafit_02", "L001fafit_01", "S001fafit_01", "N001fafit_01",
                     "W001fafit_01"}));
}

TEST_F(SkinCatalogue, AChildGetsTheSameModelsWhateverItsGenderAndBodyType) {
    for (const char* m : {"B001FCchd_01.cmx", "B002MCchd_01.cmx", "S001UCchd_01.cmx", "B003MCfat_01.cmx"})
        mesh("gamedata/skins/" + std::string(m));
    const Names all{"B001FCchd_01", "B002MCchd_01", "S001UCchd_01"};
    EXPECT_EQ(models("mcdrkfatS"), all);
    EXPECT_EQ(models("fclgtsknB"), all);
    EXPECT_EQ(filtered("fclgtfitS"), Names{"S001UCchd_01"});
    EXPECT_EQ(filtered("mcmedfitB"), (Names{"B001FCchd_01", "B002MCchd_01"}));
}

TEST_F(SkinCatalogue, TexturesOfAModelInEveryFolder) {
    texture("GameData/Skins/S001FAFitlgt_01.bmp");
    texture("GameData/Skins/s001fafitlgt_02.bmp");
    texture("GameData/Skins/s001fafitmed_01.bmp");   // another tone
    texture("ExpansionShared/SkinsBuy/s001fafitlgt_01.bmp");   // listed twice
    texture("ExpansionPack3/SkinsBuy/s001fafitlgt_03.bmp");
    const TextureSearch found = findTextures(game.path(), "S001FAFit_01", SkinData{"falgtfitS"}, loader);
    EXPECT_EQ(names(found.files),
              (Names{"GameData/S001FAFitlgt_01.bmp", "GameData/s001fafitlgt_02.bmp",
                     "ExpansionPack3/s001fafitlgt_03.bmp", "ExpansionShared/s001fafitlgt_01.bmp"}));
    EXPECT_EQ(found.files[0], game / "GameData/Skins/S001FAFitlgt_01.bmp");
    EXPECT_TRUE(found.bad.empty());
}

TEST_F(SkinCatalogue, BadTexturesAreNamedInOneMessageAndTheGoodOnesStillOffered) {
    texture("gamedata/skins/b001fafitlgt_01.bmp");
    broken("gamedata/skins/b001fafitlgt_02.bmp");
    game.write("gamedata/skins/b001fafitlgt_03.bmp", "not a picture");
    texture("gamedata/skins/b001fafitlgt_04.bmp");
    const TextureSearch found = findTextures(game.path(), "b001fafit_01", SkinData{"falgtfitB"}, loader);
    EXPECT_EQ(names(found.files), (Names{"gamedata/b001fafitlgt_01.bmp", "gamedata/b001fafitlgt_04.bmp"}));
    EXPECT_EQ(found.bad, (Names{"b001fafitlgt_02.bmp", "b001fafitlgt_03.bmp"}));
    EXPECT_EQ(badSkinFilesMessage(found.bad),
              "The following files could not be loaded:\r\n\r\n"
              "b001fafitlgt_02.bmp\r\nb001fafitlgt_03.bmp\r\n\r\n"
              "These files may be \"fixed\" by loading them into\r\n"
              "a program like Paint Shop Pro and re-saving them.");
}

TEST_F(SkinCatalogue, HandTexturesComeFromTheBaseFolderOnlyOpenPatternFirst) {
    texture("GameData/Skins/gfao_bride.bmp");
    texture("GameData/Skins/HUAOlgt.bmp");
    texture("GameData/Skins/huaclgt.bmp");
    texture("GameData/Skins/gfa_x.bmp");         // not g???_*
    texture("GameData/Skins/b001fafitlgt_01.bmp");
    broken("GameData/Skins/huapdrk.bmp");
    texture("ExpansionPack3/SkinsBuy/huaodrk.bmp");
    const TextureSearch found = findHandTextures(game.path(), loader);
    EXPECT_EQ(names(found.files),
              (Names{"GameData/huaclgt.bmp", "GameData/HUAOlgt.bmp", "GameData/gfao_bride.bmp"}));
    EXPECT_EQ(found.bad, Names{"huapdrk.bmp"});
}

TEST_F(SkinCatalogue, MissingFoldersAndAStoppedSearchGiveNothingAndAModelWithoutUnderscoreFails) {
    EXPECT_EQ(models("falgtfitB"), Names{});
    EXPECT_TRUE(findHandTextures(game / "nowhere", loader).files.empty());
    const TextureSearch none = findTextures(game.path(), "b001fafit_01", SkinData{"falgtfitB"}, loader);
    EXPECT_TRUE(none.files.empty());
    EXPECT_TRUE(none.bad.empty());
    EXPECT_EQ(testkit::errorNumberOf([&] { findTextures(game.path(), "b001fafit", SkinData{"falgtfitB"}, loader); }), 5);

    // A stopped search gives nothing, even where a running one finds a texture.
    texture("gamedata/skins/b001fafitlgt_01.bmp");
    EXPECT_FALSE(searchSkinFiles(game.path(), "b001fafit_01", SkinData{"falgtfitB"}, loader, StopFlag{true}));
    EXPECT_EQ(searchSkinFiles(game.path(), "b001fafit_01", SkinData{"falgtfitB"}, loader, StopFlag{false})->files.size(), 1u);
}

namespace {

// The model search as first written: each pattern listed in each folder on its own, the
// duplicate test comparing with every name listed so far.
Names modelsListedPatternByPattern(const std::string& game, const SkinData& data, const std::string& letters) {
    Names models;
    for (const char letter : letters)
        for (const char* folder : {"GameData/Skins", "ExpansionPack3/SkinsBuy", "ExpansionShared/SkinsBuy"}) {
            const std::string path = platform::resolvePath(game, folder);
            for (const auto& file : platform::listFolder(path, modelPattern(letter, data) + ".cmx",
                                                         platform::Listing::FilesOnly)) {
                const std::string model = file.substr(0, file.find('.'));
                const bool listed = std::any_of(models.begin(), models.end(), [&](const std::string& m) {
                    return platform::equalIgnoringCase(m, model);
                });
                if (std::string(folder) == "GameData/Skins" || !listed) models.push_back(model);
            }
        }
    return models;
}

}  // namespace

// One listing per folder gives the names, the order and the duplicates that listing each
// pattern on its own gave, for every kind of sim and both model searches: expansion models
// only when not listed in any case, the second folder before the third, and the filter's
// one outfit letter in either case (an unknown letter lists nothing).
TEST_F(SkinCatalogue, OneListingPerFolderGivesWhatAListingPerPatternGave) {
    for (const char* m : {"B001FAFit_01.cmx", "b001fafit_01.cmx", "B002fafit_1.CMX", "S001fafit_01.cmx",
                          "W001FAFIT_9.cmx", "b001mafat_01.cmx", "B001FCchd_01.cmx", "N002MCchd_01.cmx",
                          "F001fafit_01.cmx.bak", "B001fafit_a.b.cmx", "x001fafit_01.cmx", "L001fafitx01.cmx"})
        mesh("GameData/Skins/" + std::string(m));
    for (const char* m : {"b001FAFIT_01.cmx", "S001FAFIT_01.cmx", "B003fafit_01.cmx", "b003FAFIT_01.cmx",
                          "N002mcchd_01.cmx", "W002fafit_01.cmx"})
        mesh("ExpansionShared/SkinsBuy/" + std::string(m));
    for (const char* m : {"B003fafit_01.cmx", "w002FAFIT_01.cmx", "B001mafat_02.cmx", "F002fafit_01.cmx"})
        mesh("ExpansionPack3/SkinsBuy/" + std::string(m));
    game.makeFolder("GameData/Skins/B009fafit_01.cmx");   // a folder is no mesh

    const std::pair<const char*, const char*> codesAndFilterLetters[] = {
        {"falgtfitB", "B"}, {"falgtfitw", "W"}, {"mameddfatS", ""}, {"mcdrkchdN", "N"},
        {"fcdrkfitL", "L"}, {"fa", ""},         {"falgtfitX", ""}};
    for (const auto& [code, letter] : codesAndFilterLetters) {
        const SkinData data{code};
        EXPECT_EQ(models(code), modelsListedPatternByPattern(game.path(), data, "BFLSNW")) << code;
        EXPECT_EQ(filtered(code), modelsListedPatternByPattern(game.path(), data, letter)) << code;
        // The chooser keeps one listing for its filter clicks: both searches from it.
        FolderListing kept = meshListing(game.path(), data);
        EXPECT_EQ(findFilteredModels(kept, data), filtered(code)) << code;
        EXPECT_EQ(findModels(kept, data), models(code)) << code;
    }
    if (game.ignoresCase()) return;   // the two B001 spellings above are one file there
    EXPECT_EQ(models("falgtfitB"), (Names{"B001FAFit_01", "b001fafit_01", "B001fafit_a", "B002fafit_1",
                                          "B003fafit_01", "F002fafit_01", "S001fafit_01", "W001FAFIT_9",
                                          "w002FAFIT_01"}));
}

namespace {

// "Decodes" a path to a picture as wide as the number in its name, taking a varying time so
// that the threads finish out of order; "bad" paths do not load, "throw" throws.
class SlowNumberLoader final : public platform::PictureLoader {
public:
    platform::PicturePtr load(const std::string& path) const override {
        const int n = std::stoi(path.substr(path.find_first_of("0123456789")));
        std::this_thread::sleep_for(std::chrono::microseconds((n * 37) % 200));
        if (path.starts_with("throw")) throw std::runtime_error("loader failed");
        if (path.starts_with("bad")) return nullptr;
        return std::make_shared<const platform::BmpPicture>(platform::BmpInfo{n, 1, 8});
    }
    platform::PicturePtr decode(const ByteText&) const override { return nullptr; }
};

}  // namespace

TEST(DecodeAll, KeepsThePathsOrderOnAnyNumberOfThreadsAndPassesAThrowOn) {
    std::vector<std::string> paths;
    for (int i = 1; i <= 300; ++i) paths.push_back((i % 7 == 0 ? "bad" : "ok") + std::to_string(i));
    const SlowNumberLoader loader;
    for (const std::size_t threads : {0u, 1u, 2u, 5u, 1000u}) {
        const auto pictures = decodeAll(paths, loader, threads);
        ASSERT_EQ(pictures.size(), paths.size());
        for (int i = 1; i <= 300; ++i) {   // widths start at 1: 0 means no picture
            const auto& p = pictures[static_cast<std::size_t>(i - 1)];
            EXPECT_EQ(p ? p->width() : 0, i % 7 == 0 ? 0 : i) << i;
        }
    }
    EXPECT_TRUE(decodeAll({}, loader, 2).empty());
    // A loader that throws stops the search with its error.
    EXPECT_THROW(decodeAll({"ok1", "ok2", "throw3", "ok4", "ok5"}, loader, 2), std::runtime_error);
}

TEST(ForEachOnAllCores, StopsSoonAfterTheFlagIsSet) {
    StopFlag stop{false};
    std::atomic<int> done{0};
    EXPECT_FALSE(forEachOnAllCores(100000, [&](std::size_t i) {
        ++done;
        if (i == 10) stop = true;
    }, &stop, 2));
    EXPECT_LT(done.load(), 1000);
}
