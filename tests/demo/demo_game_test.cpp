#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "demo/demo_game.h"
#include "demo/roster.h"
#include "platform/bmp_pictures.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"
#include "wardrobe/default_rules.h"

using namespace drapeline;

namespace {

const std::vector<std::string> base{"GameData/Skins"};
const std::vector<std::string> all{"GameData/Skins", "ExpansionPack3/SkinsBuy", "ExpansionShared/SkinsBuy"};

// One sim as our own reader sees it.
struct ReadSim {
    std::string path;        // relative
    std::string error;       // of the checked read
    IffFile iff;
    std::vector<std::string> entries;   // body strings, entry 1 first
    std::string entry(std::size_t n) const { return n <= entries.size() ? entries[n - 1] : ""; }
    bool adult() const { return entry(1) == "adult"; }
    bool female() const { return entry(13) == "female"; }
    std::size_t count() const { return entries.size(); }
};

std::string afterEquals(const std::string& text) {
    const auto at = text.find('=');
    return at == std::string::npos ? text : text.substr(at + 1);
}
std::string beforeComma(const std::string& text) { return text.substr(0, text.find(',')); }
std::string lower(std::string text) {
    for (auto& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}
std::string bodyType(const std::string& outfit) { return lower(beforeComma(outfit).substr(6, 3)); }

// The demo game in memory and on disk, each sim as our own reader sees it, and each skin
// file by folder.
struct Demo {
    demo::DemoGame game = demo::buildDemoGame();
    testkit::TempFolder folder;
    std::vector<ReadSim> sims;
    // Skin folder -> lower-case file name -> loads as a picture.
    std::map<std::string, std::map<std::string, bool>> skins;

    Demo() {
        for (const auto& f : game.files) {
            folder.write(f.path, f.bytes);
            if (f.path.find("/Characters/") == std::string::npos) continue;
            ReadSim& sim = sims.emplace_back();
            sim.path = f.path;
            sim.error = iff::readIffChecked(sim.iff, folder / f.path);
            if (sim.error.empty())
                if (const IffChunk* chunk = strings::findStringChunk(sim.iff, WardrobeIdField, false))
                    for (const auto& e : strings::decode(chunk->data).entries) sim.entries.push_back(e.text);
        }
        for (const auto& f : all)
            for (const auto& name : platform::listFolder(folder / f, "*", platform::Listing::FilesOnly))
                skins[f][lower(name)] = platform::checkBmpFile(folder / (f + "/" + name)).has_value();
    }
};

class DemoGameTest : public ::testing::Test {
protected:
    // Made once for all tests of this file.
    static const Demo& shared() {
        static const Demo made;
        return made;
    }
    const Demo& demo = shared();

    std::vector<const ReadSim*> readable() const {
        std::vector<const ReadSim*> out;
        for (const auto& s : demo.sims)
            if (s.error.empty()) out.push_back(&s);
        return out;
    }
    // Whether a file of this name lies in one of the folders, without regard to case, as
    // the editor looks it up; with `picture`, whether it also loads as one.
    bool existsIn(const std::vector<std::string>& folders, const std::string& name, bool picture = false) const {
        for (const auto& f : folders) {
            const auto found = demo.skins.at(f).find(lower(name));
            if (found != demo.skins.at(f).end() && (found->second || !picture)) return true;
        }
        return false;
    }
    bool loadableTexture(const std::vector<std::string>& folders, const std::string& texture) const {
        return existsIn(folders, texture + ".bmp", true);
    }
};

}  // namespace

TEST_F(DemoGameTest, EveryFileButOneReadsCheckedAndIsWrittenBackByteForByte) {
    std::vector<std::string> unreadable;
    for (const auto& sim : demo.sims) {
        if (!sim.error.empty()) {
            unreadable.push_back(sim.path);
            continue;
        }
        IffFile copy = sim.iff;
        EXPECT_EQ(iff::serialise(copy), platform::readFile(demo.folder / sim.path)) << sim.path;
    }
    EXPECT_EQ(unreadable, std::vector<std::string>{"UserData2/Characters/User00013.iff"});
    EXPECT_EQ(demo.game.sims, 120);
}

TEST_F(DemoGameTest, NeighbourhoodsHoldTheirSimsWithMoreThanOnePageInTheFirst) {
    std::map<std::string, int> perFolder;
    for (const auto& sim : demo.sims) ++perFolder[sim.path.substr(0, sim.path.find('/'))];
    EXPECT_EQ(perFolder, (std::map<std::string, int>{{"UserData", 60}, {"UserData2", 40}, {"UserData3", 20}}));
    EXPECT_TRUE(platform::fileExists(demo.folder / "Sims.exe"));
    // The editor lists "user*.iff" in a folder it spells "characters".
    EXPECT_EQ(platform::listFolder(platform::resolvePath(demo.folder.path(), "UserData/characters"), "user*.iff",
                                   platform::Listing::FilesOnly).size(), 60u);
}

TEST_F(DemoGameTest, EachSimCarriesItsLabelNameAndThreePictures) {
    int nameless = 0;
    for (const ReadSim* sim : readable()) {
        const std::string file = lower(sim->path.substr(sim->path.rfind('/') + 1));
        const std::string stem = file.substr(0, file.find('.'));
        std::map<std::string, std::pair<int, int>> pictures;
        bool named = false, labelled = false;
        for (const auto& c : sim->iff.chunks) {
            const std::string label = c.label.substr(0, c.label.find('\0'));
            if (c.typeCode == "OBJD") labelled = label == stem;
            if (c.typeCode == "CTSS") named = !strings::decode(c.data).entries.at(0).text.empty();
            if (c.typeCode == "BMP_") {
                const auto bmp = platform::checkBmp(c.data, c.data.size());
                ASSERT_TRUE(bmp) << sim->path << " " << label;
                pictures[label] = {bmp->width, bmp->height};
            }
        }
        EXPECT_TRUE(labelled) << sim->path;
        nameless += !named;
        EXPECT_EQ(pictures, (std::map<std::string, std::pair<int, int>>{
                                {"web_image", {90, 60}}, {"faces", {192, 48}}, {"rel. images", {240, 60}}}))
            << sim->path;
        EXPECT_TRUE(sim->iff.hasRsmp) << sim->path;
    }
    EXPECT_EQ(nameless, 1);
}

TEST_F(DemoGameTest, BodyStringsOfferEveryKindOfSim) {
    std::map<std::string, int> seen;
    for (const ReadSim* sim : readable()) {
        ASSERT_FALSE(sim->entries.empty()) << sim->path;
        const std::string who = sim->adult() ? (sim->female() ? "f" : "m") : "u";
        ++seen["entries " + std::to_string(sim->count())];
        ++seen[sim->adult() ? "adult" : "child"];
        ++seen[sim->entry(13)];
        ++seen["tone " + sim->entry(15)];
        ++seen["body " + beforeComma(sim->entry(2)).substr(6, 3)];
        if (!sim->adult() && sim->count() == 34 && sim->entry(31) == "ADDED") ++seen["child with ADDED"];
        if (afterEquals(sim->entry(29)) == "guao_pinkg") ++seen["pink " + who];
        if (sim->adult() && sim->count() > 30)
            for (const std::size_t e : {31, 32, 33})
                if (bodyType(sim->entry(e)) != bodyType(sim->entry(2))) {
                    ++seen["mismatch"];
                    break;
                }
        // The key of a hand entry follows age and gender.
        const char poses[] = {'O', 'P', 'C'};
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_EQ(sim->entry(18 + 2 * p).substr(0, 4), "H" + who + "L" + poses[p]) << sim->path;
            EXPECT_EQ(sim->entry(19 + 2 * p).substr(0, 4), "H" + who + "R" + poses[p]) << sim->path;
        }
        EXPECT_NE(sim->entry(2).find(",BODY="), std::string::npos) << sim->path;
    }
    for (const std::string key : {"entries 30", "entries 33", "entries 34", "adult", "child", "female", "male",
                                  "tone lgt", "tone med", "tone drk", "body fit", "body fat", "body skn", "body chd"})
        EXPECT_GE(seen[key], 3) << key;
    EXPECT_GE(seen["child with ADDED"], 1);
    EXPECT_GE(seen["pink f"], 3);
    EXPECT_EQ(seen["pink m"], 1);
    EXPECT_EQ(seen["pink u"], 1);
    EXPECT_GE(seen["mismatch"], 5);
}

TEST_F(DemoGameTest, EverythingASimWearsIsAPictureWhereTheEditorLooks) {
    // Save the sims given a texture that is not installed, for the overview to find.
    std::set<std::string> missing;
    for (const auto& s : demo::demoRoster())
        if (std::find(s.faults.begin(), s.faults.end(), "missing-texture") != s.faults.end())
            missing.insert(s.neighbourhood + "/Characters/" + s.fileName);
    EXPECT_EQ(missing.size(), 1u);
    for (const ReadSim* sim : readable()) {
        if (missing.count(sim->path)) continue;
        // Normal and nude previews look in the base folder only.
        for (const std::size_t e : {2, 16})
            EXPECT_TRUE(loadableTexture(base, afterEquals(sim->entry(e)))) << sim->path << " entry " << e;
        for (const std::size_t e : {17, 28, 31, 32, 33, 34}) {
            const std::string text = sim->entry(e);
            if (text.empty() || text == "ADDED") continue;
            EXPECT_TRUE(loadableTexture(all, afterEquals(text))) << sim->path << " entry " << e;
            EXPECT_TRUE(existsIn(all, beforeComma(text) + ".cmx")) << sim->path << " entry " << e;
        }
        for (std::size_t e = 18; e <= 30; ++e) {
            if ((e > 23 && e < 29) || sim->entry(e).empty()) continue;
            EXPECT_TRUE(loadableTexture(base, afterEquals(sim->entry(e)))) << sim->path << " entry " << e;
        }
    }
}

// What the editor's Default buttons would put on each demo sim must be there to preview.
TEST_F(DemoGameTest, EveryDefaultOutfitAndHandOfEverySimExists) {
    using namespace wardrobe;
    for (const ReadSim* sim : readable()) {
        const RuleInputs in{sim->entry(1), sim->entry(13), bodyTypeText(beforeComma(sim->entry(2))),
                            sim->entry(15), sim->count()};
        std::vector<std::string> textures;
        for (const OutfitKind kind : AllOutfits)
            if (const auto names = defaultOutfit(kind, in); names && !names->texture.empty())
                textures.push_back(names->texture);
        for (const HandPose pose : {HandPose::Formal, HandPose::Open, HandPose::Point, HandPose::Closed})
            if (const std::string left = defaultHands(pose, in).left; !left.empty()) textures.push_back(left);
        EXPECT_GE(textures.size(), 5u) << sim->path;   // nude, swimsuit and three hands at least
        for (const auto& texture : textures) EXPECT_TRUE(loadableTexture(all, texture)) << sim->path << " " << texture;
    }
}

// The skin chooser finds models by pattern, one outfit letter at a time.
TEST_F(DemoGameTest, TheChooserFindsModelsForEveryOutfitOfEveryKindOfSim) {
    const auto models = [&](const std::string& pattern) {
        std::set<std::string> found;
        for (const auto& f : all)
            for (const auto& name : platform::listFolder(demo.folder / f, pattern + ".cmx", platform::Listing::FilesOnly))
                found.insert(name);
        return found.size();
    };
    for (const std::string letter : {"B", "F", "S", "L", "N", "W"}) {
        EXPECT_GE(models(letter + "????Cchd_*"), 1u) << letter;
        for (const std::string ga : {"fa", "ma"})
            for (const std::string body : {"fit", "fat", "skn"})
                EXPECT_GE(models(letter + "???" + ga + body + "_*"), 1u) << letter << ga << body;
    }
}

TEST_F(DemoGameTest, SkinFoldersHoldEnoughHandsOneBadFileAndModelsTwiceInOtherCase) {
    const std::string skins = demo.folder / "GameData/Skins";
    const auto hands = platform::listFolder(skins, "h*.bmp", platform::Listing::FilesOnly).size() +
                       platform::listFolder(skins, "g???_*.bmp", platform::Listing::FilesOnly).size();
    EXPECT_GT(hands, 49u);

    std::vector<std::string> bad;
    std::map<std::string, std::set<std::string>> meshSpellings;   // lower-case name -> folders
    int textures = 0;
    for (const auto& [folder, files] : demo.skins)
        for (const auto& [name, loads] : files) {
            if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp") {
                ++textures;
                if (!loads) bad.push_back(name);
            } else {
                meshSpellings[name].insert(folder);
            }
        }
    EXPECT_EQ(bad.size(), 1u);
    EXPECT_EQ(textures, demo.game.skins);
    int twice = 0;
    for (const auto& [name, places] : meshSpellings) twice += places.size() > 1;
    EXPECT_GE(twice, 2);

    std::size_t total = 0;
    for (const auto& f : demo.game.files) total += f.bytes.size();
    EXPECT_LT(total, 30u * 1024 * 1024);
}
