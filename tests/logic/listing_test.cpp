#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "neighbourhood/listing.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using namespace drapeline::neighbourhood;

TEST(NeighbourhoodLine, NumbersTheFoldersWithTwoDigits) {
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
    for (const auto& [folder, line] : cases) EXPECT_EQ(neighbourhoodLine(folder), line) << folder;
}

TEST(NeighbourhoodLines, AreSortedWhateverTheListingOrder) {
    EXPECT_EQ(neighbourhoodLines({"UserData10", "UserData", "UserData2"}),
              (std::vector<std::string>{"Neighborhood 01   (UserData)",
                                        "Neighborhood 02   (UserData2)",
                                        "Neighborhood 10   (UserData10)"}));
}

TEST(FolderOfLine, TakesTheFolderOutOfTheLineKeepingItsCase) {
    EXPECT_EQ(folderOfLine("Neighborhood 02   (UserData2)"), "UserData2");
    EXPECT_EQ(folderOfLine("Neighborhood 05   (userdata5)"), "userdata5");
    EXPECT_EQ(folderOfLine("Neighborhood .txt   (Userdata.txt)"), "Userdata.txt");
    EXPECT_EQ(folderOfLine("no neighbourhood here"), "");
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
    const auto dirs = listNeighbourhoodFolders(game.path());
    EXPECT_EQ(dirs.size(), 5u);
    for (const char* name : {"UserData10", "UserData", "USERDATA3", "userdata7", "Userdata.txt"})
        EXPECT_NE(std::find(dirs.begin(), dirs.end(), name), dirs.end()) << name;
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
    EXPECT_TRUE(listSimFiles(game.path(), "Userdata.txt").empty());
    EXPECT_TRUE(listSimFiles(game.path(), "UserData3").empty());
    EXPECT_TRUE(listSimFiles(game.path(), "").empty());
    EXPECT_TRUE(listSimFiles(game.path() + "/UserData3", "..").empty());
    EXPECT_TRUE(listSimFiles(game.path(), "UserData3/../Escape").empty());
    EXPECT_TRUE(listSimFiles("", "UserData3").empty());
}
