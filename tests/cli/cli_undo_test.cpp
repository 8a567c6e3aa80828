// Every change is stored or plainly refused, and every rewrite can be taken back: end to
// end on the demo game, whose sims come in every wardrobe layout.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> entries(const std::string& path) {
    IffFile iff;
    EXPECT_EQ(iff::parseChecked(iff, readWholeFile(path)), "");
    std::vector<std::string> texts;
    for (const auto& e : strings::decode(strings::findStringChunk(iff, WardrobeIdField, false)->data).entries)
        texts.push_back(e.text);
    return texts;
}

struct DemoGame {
    testkit::TempFolder folder;
    std::string game = folder / "game";
    std::string program = folder / "program";
    DemoGame() { EXPECT_EQ(cli({"demo", game}).exitCode, 0); }
    std::string sim(const std::string& name) const { return game + "/UserData/Characters/" + name; }
    // Old enough that any rewrite shows in the modification time.
    void age(const std::string& path) const {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    }
};

constexpr char ShortAdult[] = "User00005.iff";
constexpr char LongAdult[] = "User00002.iff";

}  // namespace

// That a short sim's placeholders never replace a long sim's outfits is proven on the
// ensemble file itself; here the report names what the short file has no entry for
// instead of claiming it saved.
TEST(CliUndo, AnEnsembleFromALongSimOnAShortSimNamesWhatCouldNotBeStored) {
    DemoGame demo;
    const std::string dress = demo.folder / "long.ENX";
    auto r = cli({"ensemble-save", demo.sim(LongAdult), dress});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"saved\":\"" + dress + "\"}\n");
    const auto before = entries(demo.sim(ShortAdult));
    r = cli({"ensemble-apply", demo.sim(ShortAdult), dress, "--program-folder", demo.program});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"saved\":\"" + demo.sim(ShortAdult) +
                         "\",\"backup\":null,\"notStored\":[\"Pajamas\",\"Winter\"]}\n");
    const auto after = entries(demo.sim(ShortAdult));
    EXPECT_EQ(after.size(), before.size());
    EXPECT_NE(after.at(1), before.at(1));
    EXPECT_EQ(after.at(1), entries(demo.sim(LongAdult)).at(1));   // the normal outfit was put on
}

TEST(CliUndo, SetRefusesAnOutfitTheFileHasNoEntryForAndWritesNothing) {
    DemoGame demo;
    const std::string path = demo.sim(ShortAdult);
    demo.age(path);
    const ByteText bytes = readWholeFile(path);
    const auto time = fs::last_write_time(path);
    struct Case {
        std::string assignment, err;
    };
    const auto refused = [](const std::string& why) { return why + "; nothing was saved to User00005.iff\n"; };
    const std::string NoName = ", which no name may hold";
    const Case cases[] = {
        {"pajamas.mesh=l100mafat_original",
         "User00005.iff has no Pajamas entry (its wardrobe has 30 entries), so pajamas.mesh can not "
         "be stored; nothing was saved\n"},
        {"winter.texture=w",
         "User00005.iff has no Winter entry (its wardrobe has 30 entries), so winter.texture can not "
         "be stored; nothing was saved\n"},
        {"formal.mesh=*** VACATION ONLY ***",
         "formal.mesh can not be set to the placeholder text *** VACATION ONLY ***; nothing was saved "
         "to User00005.iff\n"},
        {"normal.texture=root:x:0:0:root:/root:/bin/bash", refused("normal.texture holds \"/\"" + NoName)},
        {"normal.texture=../../../etc/passwd", refused("normal.texture holds \"/\"" + NoName)},
        {"formal.texture=..\\..\\x", refused("formal.texture holds \"\\\"" + NoName)},
        {"swimsuit.mesh=x,BODY=y", refused("swimsuit.mesh holds \",\"" + NoName)},
        {"hands.openLeft=a=b", refused("hands.openLeft holds \"=\"" + NoName)},
        {"nude.texture=\x7F" "ELF\x02\x01", refused("nude.texture holds a control character")},
        {"hands.pointLeft=a\tb", refused("hands.pointLeft holds a control character")},
        {"nude.mesh=" + std::string(64, 'n'), refused("nude.mesh has 64 characters, but a name has at most 63")},
        {"normal.mesh=", refused("normal.mesh= is refused: the Normal outfit needs both a mesh and a texture")},
        {"hands.closedRight=", refused("hands.closedRight= is refused: the closed right hand needs a texture")},
        // Both formal hands are empty in this file; one alone would be dropped on saving.
        {"hands.formalLeft=gfao_x", refused("hands.formalLeft=gfao_x is refused: the formal hands are kept "
                                            "only as a pair, but only the left one would be named")},
    };
    for (const auto& c : cases) {
        const auto r = cli({"set", path, "normal.mesh=b003mafat_01", c.assignment, "--backup",
                            "--program-folder", demo.program});
        EXPECT_EQ(r.exitCode, 1) << c.assignment;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_TRUE(readWholeFile(path) == bytes);
    EXPECT_EQ(fs::last_write_time(path), time);
    EXPECT_FALSE(fs::exists(demo.program + "/Backup"));
}

TEST(CliUndo, BackupsAreListedAndRestoredAndADamagedOneIsRefused) {
    DemoGame demo;
    const std::string path = demo.sim(LongAdult);
    const ByteText original = readWholeFile(path);
    ASSERT_EQ(cli({"set", path, "normal.mesh=b003fafit_01", "--backup", "--program-folder", demo.program}).exitCode, 0);
    const ByteText edited = readWholeFile(path);
    ASSERT_EQ(cli({"set", demo.sim(ShortAdult), "nude.mesh=x", "--backup", "--program-folder", demo.program}).exitCode, 0);

    auto r = cli({"backups", "--sim", path, "--program-folder", demo.program});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string prefix = "[{\"backup\":\"" + demo.program + "/Backup/User00002iff_arauser00002_UserData_";
    ASSERT_EQ(r.out.substr(0, prefix.size()), prefix) << r.out;
    const std::string backup = r.out.substr(12, r.out.find('"', 12) - 12);
    EXPECT_NE(r.out.find("\",\"file\":\"User00002.iff\",\"sim\":\"arauser00002\",\"name\":\"Yara\",\"neighbourhood\":\"UserData\","
                         "\"time\":\"20"),
              std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("User00005"), std::string::npos);   // another sim's backup
    r = cli({"backups", "--program-folder", demo.program});
    EXPECT_NE(r.out.find("User00005"), std::string::npos);

    r = cli({"restore", backup, "--game", demo.game, "--program-folder", demo.program});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("\"backup\"")),
              "{\"restored\":\"" + path + "\",\"from\":\"" + backup + "\",");
    EXPECT_EQ(readWholeFile(path), original);
    const auto from = r.out.find("\"backup\":\"") + 10;
    EXPECT_EQ(readWholeFile(r.out.substr(from, r.out.find('"', from) - from)), edited);

    // A damaged backup never replaces a good file.
    const std::string damaged = demo.folder.write("User00002iff_x_UserData_20020330_140507", "IFF but not really");
    r = cli({"restore", damaged, "--game", demo.game, "--program-folder", demo.program});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("The backup " + damaged + " can not be restored: it is damaged or can not be read (Error", 0), 0u)
        << r.err;
    EXPECT_EQ(readWholeFile(path), original);
}
