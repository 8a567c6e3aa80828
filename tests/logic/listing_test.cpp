#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "neighbourhood/listing.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using namespace drapeline::neighbourhood;

TEST(NeighbourhoodLines, NumberTheFoldersWithTwoDigitsGiveThemBackAndAreSorted) {
    const std::pair<const char*, const char*> cases[] = {
        {"UserData", "Neighborhood 01   (UserData)"},
        {"UserData2", "Neighborhood 02   (UserData2)"},
        {"UserData10", "Neighborhood 10   (UserData10)"},
        {"userdata5", "Neighborhood 05   (userdata5)"},
        {"USERDATA007", "Neighborhood 07   (USERDATA007)"},
        {"Userdata.txt", "Neighborhood .txt   (Userdata.txt)"},
        {"UserDataX", "Neighborhood X   (UserDataX)"},
        {"UserData123456789012345678901234567890",
         "Neighborhood 123456789012345678901234567890   (UserData123456789012345678901234567890)"},
    };
    for (const auto& [folder, line] : cases) {
        EXPECT_EQ(neighbourhoodLine(folder), line) << folder;
        EXPECT_EQ(folderOfLine(line), folder);   // taken back out, keeping its case
    }
    EXPECT_EQ(folderOfLine("no neighbourhood here"), "");
    // Sorted whatever the listing order.
    EXPECT_EQ(neighbourhoodLines({"UserData10", "UserData", "UserData2"}),
              (std::vector<std::string>{cases[0].second, cases[1].second, cases[2].second}));
}

class GameFolder : public ::testing::Test {
protected:
    testkit::TempFolder game;
};

TEST_F(GameFolder, ListsEveryUserdataNameFoldersAndFilesAlikeAndNothingElse) {
    game.makeFolder("UserData10");
    game.makeFolder("UserData");
    game.makeFolder("USERDATA3");
    game.makeFolder("userdata7");
    game.write("Userdata.txt", "not a folder");
    game.makeFolder("GameData");
    game.makeFolder("MyUserData");
    auto dirs = listNeighbourhoodFolders(game.path());
    std::sort(dirs.begin(), dirs.end());
    EXPECT_EQ(dirs, (std::vector<std::string>{"USERDATA3", "UserData", "UserData10", "Userdata.txt", "userdata7"}));
}

TEST_F(GameFolder, ListsCharacterFilesInAnyLetterCase) {
    game.write("UserData2/Characters/User00001.iff", "x");
    game.write("UserData2/Characters/user00002.IFF", "x");
    game.write("UserData2/Characters/notes.txt", "x");
    game.write("UserData2/Characters/User00003.iff.bak", "x");
    game.makeFolder("UserData2/Characters/user00004.iff");   // a folder, not a file
    // An interrupted save's leftover goes once it is a minute old.
    const std::string leftover = game.write("UserData2/Characters/.User00001.iff.drapeline-9-9-9.tmp", "x");
    std::filesystem::last_write_time(leftover, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::minutes(2));
    EXPECT_EQ(listSimFiles(game.path(), "UserData2"),
              (std::vector<std::string>{"User00001.iff", "user00002.IFF"}));
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

TEST_F(GameFolder, GivesNoFilesForPlainFilesMissingFoldersAndUnsafeNames) {
    game.write("Userdata.txt", "x");
    game.makeFolder("UserData3");
    game.write("Escape/characters/user00001.iff", "x");
    for (const auto& [folder, neighbourhood] : {std::pair{game.path(), "Userdata.txt"}, {game.path(), "UserData3"},
                                                {game.path(), ""}, {game.path() + "/UserData3", ".."},
                                                {game.path(), "UserData3/../Escape"}, {std::string(), "UserData3"}})
        EXPECT_TRUE(listSimFiles(folder, neighbourhood).empty()) << folder << " " << neighbourhood;
}
