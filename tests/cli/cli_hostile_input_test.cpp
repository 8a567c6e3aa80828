// What the file system can hand the command-line tool besides a good character file: a
// FIFO, a file too large to read, a read-only file, a planted link, a full disk, a path
// that is not ASCII, and arguments that are not what they claim.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "core/file_io.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;
using testkit::runProcess;
using testkit::simWith;

namespace fs = std::filesystem;

TEST(CliHostileInput, AFifoOrFolderIsRefusedAtOnceByEveryCommandThatOpensAFile) {
    testkit::TempFolder folder;
    const std::string fifo = folder / "User00001.iff";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string sim = folder.write("User00002.iff", testkit::characterFile().build());
    const std::string program = folder / "program";
    const std::vector<std::vector<std::string>> commands = {
        {"check", fifo},
        {"info", fifo},
        {"strings", fifo},
        {"rewrite", fifo, folder / "out.iff"},
        {"export-bitmaps", fifo, program},
        {"wardrobe", fifo},
        {"defaults", fifo},
        {"set", fifo, "normal.mesh=x", "--program-folder", program},
        {"ensemble-save", fifo, folder / "e.enx"},
        {"ensemble-apply", sim, fifo, "--program-folder", program},
        {"info", folder.path()},
    };
    for (const auto& args : commands) {
        const auto r = cli(args, {}, 20);
        ASSERT_NE(r.exitCode, testkit::TimedOut) << args[0] << " blocked on a FIFO";
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_NE((r.out + r.err).find("Error 75 - Path/File access error"), std::string::npos)
            << args[0] << ": " << r.out << r.err;
    }
    EXPECT_FALSE(fs::exists(folder / "out.iff"));
}

TEST(CliHostileInput, AFileTooLargeToReadIsRefusedBeforeItIsRead) {
    testkit::TempFolder folder;
    // Sparse: 64 GiB that take no disk. Reading it first would fail for memory.
    const std::string huge = folder / "User00001.iff";
    folder.write("User00001.iff", testkit::characterFile().build());
    fs::resize_file(huge, std::uintmax_t{64} << 30);
    for (const std::string command : {"check", "info", "wardrobe"}) {
        const auto r = cli({command, huge}, {}, 20);
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_NE((r.out + r.err).find("Error 6 - Overflow (too large to be a character file)"), std::string::npos)
            << r.out << r.err;
    }
    // Just past the largest character file read.
    fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    EXPECT_EQ(cli({"check", huge}, {}, 20).out, "Error 6 - Overflow (too large to be a character file)\n");
}

TEST(CliHostileInput, AReadOnlyCharacterFileIsNeitherSavedNorRepaired) {
    testkit::TempFolder folder;
    if (auto why = testkit::whyNotUnprivileged(DRAPELINE_CLI_PATH)) GTEST_SKIP() << *why;
    const auto command = testkit::unprivileged(DRAPELINE_CLI_PATH);
    const ByteText original = simWith({{31, "f100fafat_o,BODY=x"}});
    const std::string sim = folder.write("UserData/Characters/User00001.iff", original);
    folder.makeFolder("program");
    testkit::giveToUnprivilegedUser(folder.path());
    ::chmod(sim.c_str(), 0444);
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), command.begin() + 1, command.end());
        return runProcess(command[0], args, {}, 60);
    };

    auto r = run({"set", sim, "normal.mesh=b009fafat_01", "--backup", "--program-folder", folder / "program"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_EQ(r.err.rfind(sim + ": Error 75 - Path/File access error", 0), 0u) << r.err;
    r = run({"fix-fit", "--game", folder.path(), "--neighbourhood", "UserData", "--program-folder",
             folder / "program"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("\"reason\":\"it could not be written (Error 75 - Path/File access error "
                         "(Permission denied))\""),
              std::string::npos) << r.out;
    EXPECT_TRUE(readWholeFile(sim) == original);
    EXPECT_FALSE(fs::exists(folder / "program/Backup"));   // nothing written at all
    EXPECT_FALSE(fs::exists(folder / "program/usertemp.iff"));
}

TEST(CliHostileInput, ARepairThatCanNotWriteExitsOneWithTheSystemsReason) {
    testkit::TempFolder folder;
    folder.write("UserData/Characters/User00001.iff", simWith({{31, "f100fafat_o,BODY=x"}}));
    folder.write("UserData/Characters/User00002.iff", "unreadable");
    // A file size limit stands in for a full disk; the signal it raises is ignored, so the
    // writes fail instead.
    testkit::ProcessResult r;
    testkit::withFileSizeLimit(1024, [&] {
        r = cli({"fix-fit", "--game", folder.path(), "--neighbourhood", "UserData",
                 "--program-folder", folder / "program"});
    });
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("{\"file\":\"User00001.iff\",\"reason\":\"it could not be written (Error 75 - "
                         "Path/File access error (File too large))\"}"),
              std::string::npos) << r.out;
    EXPECT_EQ(r.err, "1 file could not be written; see \"skipped\"\n");

    // Files skipped only as unreadable are no failure of the run.
    fs::remove(folder / "UserData/Characters/User00001.iff");
    EXPECT_EQ(cli({"fix-fit", "--game", folder.path(), "--neighbourhood", "UserData",
                   "--program-folder", folder / "program"}).exitCode, 0);
}

TEST(CliHostileInput, APlantedLinkIsReplacedNotWrittenThrough) {
    testkit::TempFolder folder;
    const std::string sim = folder.write("User00001.iff", testkit::characterFile().build());
    const std::string victim = folder.write("victim.txt", "keep");
    fs::create_symlink(victim, folder / "rewritten.iff");
    EXPECT_EQ(cli({"rewrite", sim, folder / "rewritten.iff"}).exitCode, 0);
    EXPECT_EQ(readWholeFile(victim), "keep");
    EXPECT_FALSE(fs::is_symlink(folder / "rewritten.iff"));
}

TEST(CliHostileInput, ANonAsciiGameFolderTravelsThroughTheJsonAndBack) {
    testkit::TempFolder folder;
    const std::string game = folder / "Les Sims \xC3\xA9t\xC3\xA9";
    const std::string neighbourhood = "UserData_\xC3\xA9";
    folder.write("Les Sims \xC3\xA9t\xC3\xA9/" + neighbourhood + "/Characters/User00001.iff",
                 simWith({{31, "f100fafat_o,BODY=x"}}));
    folder.makeFolder("Les Sims \xC3\xA9t\xC3\xA9/UserData");
    auto r = cli({"neighbourhoods", "--game", game});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"folder\":\"" + neighbourhood + "\""), std::string::npos) << r.out;

    r = cli({"fix-fit", "--game", game, "--neighbourhood", neighbourhood, "--program-folder", folder / "program"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"rewritten\":[\"User00001.iff\"]"), std::string::npos) << r.out;
    const std::string sim = game + "/" + neighbourhood + "/Characters/User00001.iff";
    r = cli({"set", sim, "normal.mesh=b009fafat_01", "--program-folder", folder / "program"});
    EXPECT_EQ(r.out, "{\"saved\":\"" + sim + "\",\"backup\":null,\"notStored\":[]}\n");
}

TEST(CliHostileInput, LooseArgumentsAreUsageErrorsThatSayWhatIsWrongAndChangeNothing) {
    testkit::TempFolder folder;
    const ByteText original = testkit::characterFile().build();
    const std::string sim = folder.write("User00001.iff", original);
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"no-such-command"}, "unknown command 'no-such-command'"},
        {{"demo", ""}, "argument 1 is empty"},
        {{"check", ""}, "argument 1 is empty"},
        {{"sims", "--game", "", "--neighbourhood", "UserData"}, "option --game needs a value"},
        {{"skins", "--game", folder.path(), "--code", "falgtfitF", "--model", "../../../etc/passwd"},
         "--model takes a model name"},
        {{"sims", "--game", folder.path()}, "sims: missing --neighbourhood"},
        {{"neighbourhoods"}, "neighbourhoods: missing --game"},
        {{"neighbourhoods", "--game", folder.path(), "extra"}, "neighbourhoods: wrong number of arguments"},
        {{"neighbourhoods", "--game"}, "option --game needs a value"},
        {{"set", sim, "normal.colour=red"}, "set: unknown key 'normal.colour'"},
        {{"set", sim, "hands.formal=x"}, "set: unknown key 'hands.formal'"},
        {{"set", sim, "normal.mesh"}, "set: expected KEY=VALUE, got 'normal.mesh'"},
        {{"set", sim}, "set: give a file and at least one KEY=VALUE"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(readWholeFile(sim) == original);
    const auto help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: drapeline-cli", 0), 0u);
}
