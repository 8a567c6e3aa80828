#include <gtest/gtest.h>

#include "neighbourhood/game_location.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using namespace drapeline::neighbourhood;
using platform::MessageIcon;

TEST(BackupChoice, ReadsTheStoredValueAsANumber) {
    testkit::MemorySettings settings;
    for (const auto& [stored, checked] : std::vector<std::pair<std::string, bool>>{
             {"1", true}, {" 1", true}, {"1.0", true}, {"01", true}, {"0", false},
             {"2", false}, {"yes", false}, {"", false}, {"-1", false}}) {
        settings.setValue(keys::BackupSavedFile, stored);
        EXPECT_EQ(backupChecked(settings), checked) << '"' << stored << '"';
    }
}

TEST(GameLocationNotices, ExplainAMissingLocationThenASimsExeMissingInAnyLetterCase) {
    const std::string setPath = "Please use the Set Path menu option to locate The Sims.";
    auto notices = gameLocationNotices("");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].title, "Path to The Sims not found!");
    EXPECT_EQ(notices[0].text, "The path to The Sims was not found in the registry.\r\n" + setPath);
    EXPECT_EQ(notices[0].icon, MessageIcon::Critical);
    EXPECT_EQ(notices[1].title, "SIMS.EXE Not Found!");
    EXPECT_EQ(notices[1].text,
              "The file SIMS.EXE was not found in the path specified in the registry.\r\n" + setPath);
    EXPECT_EQ(notices[1].icon, MessageIcon::Critical);

    notices = gameLocationNotices("ERROR");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text,
              "GetRegistryString failed on error.\r\nThe path to The Sims can not be found.\r\n" +
                  setPath);
    EXPECT_EQ(notices[1].title, "SIMS.EXE Not Found!");

    // Sims.exe is found in any letter case.
    for (const char* exe : {"Sims.exe", "SIMS.EXE", "sims.exe", "sImS.ExE"}) {
        testkit::TempFolder game;
        game.write(exe, "MZ");
        EXPECT_TRUE(gameLocationNotices(game.path()).empty()) << exe;
    }
    testkit::TempFolder empty;
    notices = gameLocationNotices(empty.path());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].title, "SIMS.EXE Not Found!");
    empty.makeFolder("Sims.exe");   // a folder is no game
    EXPECT_FALSE(simsExeFound(empty.path()));
}

TEST(GameLocation, TheStatusLineSaysWhichGameAndWhereItCameFrom) {
    const std::vector<platform::GameInstall> installs{
        {"/home/p/.wine/drive_c/Program Files/Maxis/The Sims", "registry", "wine", "/home/p/.wine"},
        {"/home/p/compat/pfx/drive_c/Program Files/Maxis/The Sims", "registry", "proton", "/home/p/compat/pfx"},
        {"/home/p/Games/sims/drive_c/Program Files (x86)/Maxis/The Sims", "program files", "lutris", "/home/p/Games/sims"},
        {"/home/p/steam/steamapps/common/The Sims", "steam library", "steam", ""},
        {"C:\\Program Files\\Maxis\\The Sims", "registry", "windows", ""},
    };
    struct Case {
        const char* folder;
        const char* source;
    };
    const Case cases[] = {
        {"/home/p/.wine/drive_c/Program Files/Maxis/The Sims/", "registry, Wine prefix"},
        {"/home/p/compat/pfx/drive_c/Program Files/Maxis/The Sims", "registry, Proton prefix"},
        {"/home/p/Games/sims/drive_c/Program Files (x86)/Maxis/The Sims", "Lutris prefix"},
        {"/home/p/steam/steamapps/common/The Sims", "Steam library"},
        {"C:\\Program Files\\Maxis\\The Sims", "registry"},
        {"/srv/registry-only", "registry"},   // the registry's value, though no install was found there
        {"/mnt/elsewhere/The Sims", "chosen by hand"},
    };
    for (const auto& c : cases) EXPECT_EQ(gameSource(c.folder, "/srv/registry-only", installs), c.source) << c.folder;
    EXPECT_EQ(gameStatusText("/g", "Steam library", false), "Game: /g (Steam library)");
    EXPECT_EQ(gameStatusText("/tmp/Demo Game", "", true), "Game: demo game (/tmp/Demo Game)");
    EXPECT_EQ(gameStatusText("ERROR", "chosen by hand", false), "Game: not found (Options > Set Path chooses it)");
}
