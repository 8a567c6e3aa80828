#include <gtest/gtest.h>

#include "tests/cli/cli_support.h"

using drapeline::testkit::cli;
using drapeline::testkit::TempFolder;

TEST(CliNeighbourhoods, ListsLinesInTheListsOrderAndTheirCharacterFiles) {
    TempFolder game;
    game.write("Sims.exe", "MZ");
    game.makeFolder("UserData10");
    game.makeFolder("UserData");
    game.write("userdata2/Characters/User00001.iff", "x");
    game.write("userdata2/Characters/user00002.IFF", "x");
    game.write("userdata2/Characters/Neighbor.iff", "x");
    auto r = cli({"neighbourhoods", "--game", game.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "[{\"line\":\"Neighborhood 01   (UserData)\",\"folder\":\"UserData\"},"
              "{\"line\":\"Neighborhood 02   (userdata2)\",\"folder\":\"userdata2\"},"
              "{\"line\":\"Neighborhood 10   (UserData10)\",\"folder\":\"UserData10\"}]\n");
    r = cli({"sims", "--game", game.path(), "--neighbourhood", "UserData2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "[\"User00001.iff\",\"user00002.IFF\"]\n");
}

TEST(CliSims, AMissingGameOrNeighbourhoodIsOneLine) {
    TempFolder game;
    game.makeFolder("UserData/Characters");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"sims", "--game", game.path(), "--neighbourhood", "UserData7"}, "no neighbourhood UserData7 in " + game.path()},
        {{"sims", "--game", game / "missing", "--neighbourhood", "UserData"}, "game folder not found: " + game / "missing"},
        {{"neighbourhoods", "--game", game / "missing"}, "game folder not found: " + game / "missing"},
    };
    for (const auto& [args, err] : cases) {
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, err + "\n");
    }
}

TEST(CliFindGames, PrintsEveryInstallWithWhereItWasFound) {
    TempFolder home;
    const std::string pfx = home / ".steam/steam/steamapps/compatdata/3314060/pfx";
    home.write(".steam/steam/steamapps/compatdata/3314060/pfx/system.reg",
               "WINE REGISTRY Version 2\n[Software\\\\Maxis\\\\The Sims] 1\n"
               "\"InstallPath\"=\"C:\\\\Games\\\\Sims\"\n");
    home.write(".steam/steam/steamapps/compatdata/3314060/pfx/drive_c/Games/Sims/Sims.exe", "");
    home.write(".steam/steam/steamapps/common/The Sims Legacy Collection/sims.EXE", "");
    auto r = cli({"find-games"}, {"HOME=" + home.path(), "WINEPREFIX="});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "[{\"folder\":\"" + pfx + "/drive_c/Games/Sims\",\"source\":\"registry\","
                     "\"kind\":\"proton\",\"prefix\":\"" + pfx + "\"},"
                     "{\"folder\":\"" + home.path() + "/.steam/steam/steamapps/common/The Sims Legacy Collection\","
                     "\"source\":\"steam library\",\"kind\":\"steam\",\"prefix\":\"\"}]\n");
    r = cli({"find-games"}, {"HOME=" + home.path() + "/nothing", "WINEPREFIX="});
    EXPECT_EQ(r.out, "[]\n");
}
