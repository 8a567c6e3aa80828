#include <gtest/gtest.h>

#include <algorithm>

#include "core/file_io.h"
#include "platform/files.h"
#include "tests/cli/cli_support.h"

using namespace drapeline;
using testkit::cli;

TEST(CliAudit, AuditsBatchesAndUndoesOnTheDemoGame) {
    testkit::TempFolder scratch;
    const std::string game = scratch / "game", program = scratch / "program";
    ASSERT_EQ(cli({"demo", game}).exitCode, 0);

    auto r = cli({"audit", "--game", game, "--neighbourhood", "UserData3", "--format", "csv"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 21);
    EXPECT_EQ(r.out.rfind("neighbourhood,file,name,age,gender,skin tone,body type,normal mesh,", 0), 0u);
    r = cli({"audit", "--game", game});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("{\"kind\": \"unreadable\", \"where\": \"\", \"text\": \"Error 62"), std::string::npos) << r.out.substr(0, 400);

    const std::string characters = game + "/UserData/Characters";
    std::vector<ByteText> before;
    const auto files = platform::listFolder(characters, "User*.iff", platform::Listing::FilesOnly);
    for (const auto& f : files) before.push_back(readWholeFile(platform::joinPath(characters, f)));
    const std::vector<std::string> batch{"batch", "--game", game, "--neighbourhood", "UserData", "--program-folder", program};
    auto args = batch;
    for (const char* more : {"--problem", "skin-tone", "match-tone"}) args.push_back(more);
    r = cli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"batch\":\"batch_", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"action\":\"match the textures to the skin tone\",\"changed\":[\"User000"), std::string::npos) << r.out;

    r = cli({"undo-batch", "last", "--program-folder", program});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_TRUE(readWholeFile(platform::joinPath(characters, files[i])) == before[i]) << files[i];
    EXPECT_EQ(cli({"undo-batch", "last", "--program-folder", program}).exitCode, 1);

    args = batch;
    for (const char* more : {"--all", "--sims", "User00001.iff", "fix-fit"}) args.push_back(more);
    EXPECT_EQ(cli(args).exitCode, 2);
    args = batch;
    for (const char* more : {"--all", "default", "hat"}) args.push_back(more);
    EXPECT_EQ(cli(args).exitCode, 2);
}
