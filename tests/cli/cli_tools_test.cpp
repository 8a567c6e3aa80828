#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
using testkit::simWith;

namespace {

struct Game {
    testkit::TempFolder folder;
    std::string program = folder / "program";
    std::string sim(const std::string& name) const { return folder / ("UserData2/Characters/" + name); }

    Game() {
        folder.write("UserData2/Characters/User00001.iff", simWith({{31, "f100fafat_o,BODY=x"}}));
        folder.write("UserData2/Characters/User00002.iff", simWith({{29, "HfLO,HAND=guao_pinkg"}}));
        folder.write("UserData2/Characters/User00003.iff", "unreadable");
    }
    std::vector<std::string> args(const std::string& command) const {
        return {command, "--game", folder.path(), "--neighbourhood", "userdata2", "--program-folder", program};
    }
};

const std::string SkippedOnly =
    "\"skipped\":[{\"file\":\"User00003.iff\",\"reason\":\"it can not be read (Error 62 - Input past end of "
    "file)\"}]";
const std::string Skipped3 = SkippedOnly + "}\n";

}  // namespace

TEST(CliTools, RepairsReportWhatTheyRewroteAndDryRunsWriteNothing) {
    const Game game;
    const ByteText before1 = readWholeFile(game.sim("User00001.iff"));

    auto dryArgs = game.args("fix-fit");
    dryArgs.push_back("--dry-run");
    auto r = cli(dryArgs);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"examined\":3,\"rewritten\":[\"User00001.iff\"],\"changed\":[\"User00001.iff\"]," +
                         SkippedOnly + ",\"backups\":[]}\n");
    EXPECT_TRUE(readWholeFile(game.sim("User00001.iff")) == before1);
    EXPECT_FALSE(std::filesystem::exists(game.program));

    auto backupArgs = game.args("pink-hands");
    backupArgs.push_back("--backup");
    r = cli(backupArgs);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string backups = ",\"backups\":[\"" + game.program + "/Backup/User00002iff_ellauser00012_UserData2_";
    EXPECT_EQ(r.out.substr(0, r.out.find(backups)),
              "{\"examined\":3,\"rewritten\":[\"User00002.iff\"],\"changed\":[\"User00002.iff\"]," + SkippedOnly);
    ASSERT_NE(r.out.find(backups), std::string::npos) << r.out;
    EXPECT_TRUE(readWholeFile(game.sim("User00001.iff")) == before1);
    EXPECT_NE(readWholeFile(game.sim("User00002.iff")).find("HfRO,HAND=gfao_bride"), std::string::npos);
}

TEST(CliTools, ExportWritesBothFilesIntoTheProgramFolder) {
    const Game game;
    const auto r = cli(game.args("export-skins"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string head = game.program + "/headskins.txt", body = game.program + "/bodyskins.txt";
    EXPECT_EQ(r.out, "{\"head\":\"" + head + "\",\"body\":\"" + body + "\",\"exported\":2," + Skipped3);
    EXPECT_EQ(readWholeFile(body),
              "User00001.iff;Bella;b001fafitlgt_01\r\nUser00002.iff;Bella;b001fafitlgt_01\r\n");
}

TEST(CliTools, OnlyANeighbourhoodOfTheGameFolderIsAccepted) {
    const Game game;
    game.folder.write("Elsewhere/Characters/User00001.iff", simWith({{29, "HfLO,HAND=guao_pinkg"}}));
    for (const char* command : {"fix-fit", "pink-hands", "export-skins"}) {
        auto args = game.args(command);
        args[4] = "../Elsewhere";
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "no neighbourhood ../Elsewhere in " + game.folder.path() + "\n");
    }
}

TEST(CliEnsembles, ARefusedEnsembleLeavesTheSimAlone) {
    testkit::TempFolder folder;
    const std::string sim = folder.write("User00002.iff", simWith({}));
    const ByteText before = readWholeFile(sim);
    ASSERT_EQ(cli({"ensemble-save", sim, folder / "good.ENX"}).exitCode, 0);
    const ByteText good = readWholeFile(folder / "good.ENX");
    const auto firstLine = [&](const std::string& text) { return text + good.substr(good.find("\r\n")); };
    struct Case {
        std::string content, problem;
    };
    const Case cases[] = {
        {"one\r\ntwo\r\n", "it has 2 lines, but an ensemble file has 18 lines, or 20 with the winter outfit"},
        {readWholeFile("/etc/passwd"), "line 1 holds \"/\", which no name may hold"},
        {firstLine(std::string("\x7F" "ELF\x02\x01\0\0", 7)), "line 1 holds a control character"},
        {firstLine(std::string(52 * 1024, 'b')), "line 1 has 53248 characters, but a name has at most 63"},
        {firstLine("x,BODY=y"), "line 1 holds \",\", which no name may hold"},
        {firstLine(""), "line 1 is empty: the Normal outfit needs both a mesh and a texture"},
        {firstLine("../../../etc/passwd"), "line 1 holds \"/\", which no name may hold"},
    };
    for (const auto& c : cases) {
        const std::string bad = folder.write("bad.ENX", c.content);
        const auto r = cli({"ensemble-apply", sim, bad, "--backup", "--program-folder", folder / "program"});
        EXPECT_EQ(r.exitCode, 1) << c.problem;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "The ensemble file " + bad + " can not be loaded: " + c.problem +
                             ". User00002.iff has not been changed.\n");
        EXPECT_TRUE(readWholeFile(sim) == before) << c.problem;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "program/Backup"));
}
