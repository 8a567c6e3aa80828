#include <gtest/gtest.h>

#include "core/file_io.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
using testkit::simWith;

namespace {

const std::string WomanJson =
    "{\"name\":\"Bella  (user00012)\",\"age\":\"adult\",\"gender\":\"female\",\"skinTone\":\"light\","
    "\"bodyType\":\"fit\",\"layout\":\"Long\",\"outfits\":{"
    "\"normal\":{\"mesh\":\"b001fafitlgt_01\",\"texture\":\"b001fafitlgt_01\"},"
    "\"swimsuit\":{\"mesh\":\"s001fafitlgt_01\",\"texture\":\"s001fafitlgt_01\"},"
    "\"formal\":{\"mesh\":\"f001fafitlgt_01\",\"texture\":\"f001fafitlgt_01\"},"
    "\"pajamas\":{\"mesh\":\"l001fafitlgt_01\",\"texture\":\"l001fafitlgt_01\"},"
    "\"nude\":{\"mesh\":\"n001fafitlgt_01\",\"texture\":\"n001fafitlgt_01\"},"
    "\"winter\":{\"mesh\":\"w001fafitlgt_01\",\"texture\":\"w001fafitlgt_01\"}},"
    "\"hands\":{\"formalLeft\":\"gfao_bride\",\"formalRight\":\"gfao_bride\",\"openLeft\":\"gfao_lgt\","
    "\"openRight\":\"gfao_lgt\",\"pointLeft\":\"gfap_lgt\",\"pointRight\":\"gfap_lgt\","
    "\"closedLeft\":\"gfac_lgt\",\"closedRight\":\"gfac_lgt\"}}\n";

}  // namespace

TEST(CliWardrobe, ShowsWhatTheEditWindowShows) {
    testkit::TempFolder folder;
    const auto r = cli({"wardrobe", folder.write("User00001.iff", testkit::characterFile().build())});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, WomanJson);
    EXPECT_EQ(r.err, "");
}

TEST(CliWardrobe, RefusesUnreadableFilesAndUnshowableWardrobes) {
    testkit::TempFolder folder;
    const ByteText good = testkit::characterFile().build();
    struct Case {
        std::string file, err;
    };
    const Case cases[] = {
        {folder.write("cut.iff", good.substr(0, good.size() - 3)),
         folder / "cut.iff" + ": Error 62 - Input past end of file (RSMP)\n"},
        {folder / "missing.iff", folder / "missing.iff" + ": Error 53 - File not found\n"},
        {folder.write("short.iff", simWith({}, 12)),
         "The wardrobe of short.iff can not be shown: its wardrobe has only 12 entries, so the "
         "swimsuit entry 17 is missing. The file has not been changed.\n"},
    };
    for (const auto& c : cases) {
        for (const auto& args : {std::vector<std::string>{"wardrobe", c.file},
                                 std::vector<std::string>{"defaults", c.file},
                                 std::vector<std::string>{"set", c.file, "normal.mesh=x",
                                                          "--program-folder", folder / "p"}}) {
            const auto r = cli(args);
            EXPECT_EQ(r.exitCode, 1) << c.file;
            EXPECT_EQ(r.out, "") << c.file;
            EXPECT_EQ(r.err, c.err) << c.file;
        }
    }
    EXPECT_TRUE(readWholeFile(folder / "short.iff") == simWith({}, 12));
}

TEST(CliSet, SavesAsTheEditWindowDoesWithABackup) {
    testkit::TempFolder folder;
    const std::string sim = folder.write("UserData2/Characters/User00001.iff", testkit::characterFile().build());
    const std::string program = folder / "program";   // created when missing
    folder.write("game/GameData/Skins/B002FAFAT_01.cmx", "");
    folder.write("game/ExpansionShared/SkinsBuy/b002fafatlgt_01.bmp", "");
    folder.write("game/ExpansionShared/SkinsBuy/gfao_x.bmp", "");   // hands: the base folder only
    auto r = cli({"set", sim, "normal.mesh=b002fafat_01", "normal.texture=b002fafatlgt_01",
                  "hands.formalLeft=", "hands.formalRight=", "winter.texture=Zo\xC3\xA9",
                  "hands.openLeft=gfao_x", "swimsuit.mesh=b002*", "--backup", "--program-folder", program,
                  "--game", folder / "game"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string prefix = "{\"saved\":\"" + sim + "\",\"backup\":\"" + program +
                               "/Backup/User00001iff_ellauser00012_UserData2_";
    EXPECT_EQ(r.out.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(r.out.ends_with("\"notStored\":[],\"notInstalled\":[\"winter.texture\",\"hands.openLeft\","
                                "\"swimsuit.mesh\"]}\n")) << r.out;
    const std::string notThere = " is not installed in the game's skin folders; it is saved all the same\n";
    EXPECT_EQ(r.err, "warning: winter.texture Zo\xE9" + notThere + "warning: hands.openLeft gfao_x" + notThere +
                     "warning: swimsuit.mesh b002*" + notThere);   // a name, not a pattern

    r = cli({"wardrobe", sim});
    for (const char* part : {"\"bodyType\":\"fat\"",
                             "\"normal\":{\"mesh\":\"b002fafat_01\",\"texture\":\"b002fafatlgt_01\"}",
                             "\"winter\":{\"mesh\":\"w001fafitlgt_01\",\"texture\":\"Zo\xC3\xA9\"}",
                             "\"formalLeft\":\"\",\"formalRight\":\"\""})
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    // The value reached the file as one Latin-1 byte, as the game spells it.
    const ByteText saved = readWholeFile(sim);
    EXPECT_NE(saved.find("w001fafitlgt_01,BODY=Zo\xE9"), std::string::npos);

    r = cli({"set", sim, "normal.mesh=b002fafit_01", "--program-folder", program, "--game", folder / "nowhere"});
    EXPECT_EQ(r.err, "game folder not found: " + folder / "nowhere" + "\n");
    EXPECT_TRUE(r.exitCode == 1 && readWholeFile(sim) == saved);
}

// A change that leaves one alone is refused (see CliUndo); one written so by another
// program is dropped by saving, and the report says so.
TEST(CliSet, ALoneFormalHandTheFileHadIsReportedAsNotStored) {
    testkit::TempFolder folder;
    const std::string lone = folder.write("User00002.iff", simWith({{30, ""}}));
    const auto r = cli({"set", lone, "normal.mesh=b002fafat_01", "--program-folder", folder / "program"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"saved\":\"" + lone + "\",\"backup\":null,\"notStored\":[\"Formal left\"]}\n");
}
