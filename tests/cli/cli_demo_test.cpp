#include <gtest/gtest.h>

#include <filesystem>

#include "demo/demo_game.h"
#include "platform/files.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;

namespace {

std::size_t filesBelow(const std::string& folder) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) n += e.is_regular_file();
    return n;
}

}  // namespace

// One run in a child process and one in this process must give the same bytes: the demo
// game is the same on every run and every machine.
TEST(CliDemo, CreatesTheGameAndKeepsItOnTheNextRun) {
    testkit::TempFolder scratch;
    const std::string game = scratch / "Demo Game";
    const auto first = cli({"demo", game});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "{\"game\":" + std::string("\"") + game +
                             "\",\"sims\":120,\"skins\":370,\"created\":true}\n");
    EXPECT_EQ(first.err, "");

    const demo::DemoGame expected = demo::buildDemoGame();
    EXPECT_EQ(filesBelow(game), expected.files.size());
    for (const auto& f : expected.files)
        EXPECT_EQ(platform::readFile(game + "/" + f.path), f.bytes) << f.path;

    // A sim edited in the demo game survives another run.
    const std::string sim = game + "/UserData/Characters/User00001.iff";
    platform::writeFile(sim, "edited");
    const auto second = cli({"demo", game});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.out, "{\"game\":\"" + game + "\",\"sims\":120,\"skins\":370,\"created\":false}\n");
    EXPECT_EQ(platform::readFile(sim), "edited");
}

TEST(CliDemo, RefusesAFolderThatHoldsSomethingElse) {
    testkit::TempFolder scratch;
    scratch.write("taken/notes.txt", "mine");
    const auto file = scratch.write("plain.txt", "x");
    for (const auto& target : {scratch / "taken", file}) {
        const auto r = cli({"demo", target});
        EXPECT_EQ(r.exitCode, 1) << target;
        EXPECT_EQ(r.out, "") << target;
        EXPECT_NE(r.err.find(target), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(filesBelow(scratch / "taken"), 1u);

    // A folder with a marker of someone else's making is not ours either.
    scratch.write("fake/" + std::string(demo::MarkerFileName), "not a demo\r\n");
    EXPECT_EQ(cli({"demo", scratch / "fake"}).exitCode, 1);

    EXPECT_EQ(cli({"demo"}).exitCode, 2);
}
