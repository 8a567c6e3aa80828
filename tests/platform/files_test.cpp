#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace drapeline::platform {
namespace {

using testkit::TempFolder;

class ResolvePath : public ::testing::Test {
protected:
    void SetUp() override {
        if (root.ignoresCase()) GTEST_SKIP() << "file system ignores case";
        root.write("GameData/Skins/B001FAFit_01.cmx", "");
        root.write("GameData/Skins/b001fafit_01.CMX", "");
        root.write("GameData/Skins/B001FAFIT_01.cmx", "");
        root.write("ExpansionShared/SkinsBuy/x.bmp", "");
        // A plain file spelt like the folder, sorting before it in byte order.
        root.write("USERDATA", "not a folder");
        root.write("UserData/Characters/User00001.iff", "");
    }
    TempFolder root;
};

TEST_F(ResolvePath, FindsEachComponentWithoutRegardToCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"GAMEDATA\\skins", "GameData/Skins"},
        {"expansionshared/skinsbuy/X.BMP", "ExpansionShared/SkinsBuy/x.bmp"},
        {"\\GameData\\Skins\\", "GameData/Skins"},
        // The exact spelling wins; without one, the first of the spellings in byte order.
        {"GameData/Skins/B001FAFIT_01.cmx", "GameData/Skins/B001FAFIT_01.cmx"},
        {"GameData/Skins/b001fafit_01.CMX", "GameData/Skins/b001fafit_01.CMX"},
        {"GameData/Skins/B001fafit_01.cmx", "GameData/Skins/B001FAFIT_01.cmx"},
        // A plain file is passed over where a folder is needed, even when spelt exactly,
        // but as the last component it is a fine answer.
        {"userdata/characters/user00001.iff", "UserData/Characters/User00001.iff"},
        {"USERDATA/Characters/User00001.iff", "UserData/Characters/User00001.iff"},
        {"userdata", "USERDATA"},
        // Missing components are kept as given.
        {"gamedata/Missing/skins/x.bmp", "GameData/Missing/skins/x.bmp"},
        {"gamedata/skins/New.cmx", "GameData/Skins/New.cmx"},
    };
    for (const auto& [relative, expected] : cases) EXPECT_EQ(resolvePath(root.path(), relative), root / expected) << relative;
    EXPECT_EQ(resolvePath(root / "absent", "GameData"), root / "absent/GameData");
}

class ListFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (root.ignoresCase()) GTEST_SKIP() << "file system ignores case";
        for (const char* name : {"user00002.iff", "User00001.IFF", "USER00003.iff", "user1.txt",
                                 "auser.iff", "User00000.iff"})
            root.write(std::string("Chars/") + name, "");
        root.makeFolder("Chars/UserFolder.iff");
        root.write("Game/UserData2/x", "");
        root.write("Game/userdata", "a plain file");
        root.makeFolder("Game/USERDATA3");
        root.makeFolder("Game/Downloads");
    }
    TempFolder root;
};

TEST_F(ListFolder, SortsMatchesWithoutRegardToCaseAndListsMatchingPlainFilesBesideFolders) {
    const std::vector<std::string> files = {"User00000.iff", "User00001.IFF", "user00002.iff", "USER00003.iff"};
    EXPECT_EQ(listFolder(root / "Chars", "USER*.IFF", Listing::FilesOnly), files);
    std::vector<std::string> withFolders = files;
    withFolders.push_back("UserFolder.iff");
    EXPECT_EQ(listFolder(root / "Chars", "user*.iff", Listing::FilesAndFolders), withFolders);

    EXPECT_EQ(listFolder(root / "Game", "Userdata*", Listing::FilesAndFolders),
              (std::vector<std::string>{"userdata", "UserData2", "USERDATA3"}));
    EXPECT_EQ(listFolder(root / "Game", "Userdata*", Listing::FilesOnly), std::vector<std::string>{"userdata"});
    // A missing folder or a plain file gives nothing.
    EXPECT_TRUE(listFolder(root / "Nowhere", "*", Listing::FilesAndFolders).empty());
    EXPECT_TRUE(listFolder(root / "Game/userdata", "*", Listing::FilesAndFolders).empty());
}

#ifndef _WIN32
TEST_F(ListFolder, FollowsLinksButSkipsBrokenOnes) {
    fs::create_symlink(root / "Chars/User00001.IFF", root / "Chars/UserLink.iff");
    fs::create_symlink(root / "Chars/gone.iff", root / "Chars/UserDangling.iff");
    const auto names = listFolder(root / "Chars", "userl*", Listing::FilesOnly);
    EXPECT_EQ(names, std::vector<std::string>{"UserLink.iff"});
    EXPECT_TRUE(listFolder(root / "Chars", "userd*", Listing::FilesAndFolders).empty());
}
#endif

TEST(FileOperations, FilesAndFoldersAreNotMistakenForEachOther) {
    TempFolder root;
    const std::string file = root.write("a/file.bin", "x");
    const std::string folder = root / "a";
    EXPECT_TRUE(fileExists(file) && !fileExists(folder));
    EXPECT_TRUE(folderExists(folder) && !folderExists(file));

    EXPECT_FALSE(removeFile(folder));   // never a folder, however it is asked
    EXPECT_TRUE(folderExists(folder));
    EXPECT_TRUE(removeFile(file));
    EXPECT_FALSE(removeFile(file));

    EXPECT_TRUE(createFolder(root / "b/c/d"));
    EXPECT_TRUE(createFolder(root / "b/c/d"));   // already there is fine
    EXPECT_FALSE(createFolder(root.write("plain", "")));
}

TEST(FileOperations, CopyReplacesWholeAndSurvivesCopyOntoItself) {
    TempFolder root;
    const std::string from = root.write("from.iff", std::string("new\0bytes", 9));
    const std::string to = root.write("to.iff", std::string(100, 'o'));
    copyFile(from, to);
    EXPECT_EQ(readFile(to), std::string("new\0bytes", 9));

    copyFile(from, from);
    EXPECT_EQ(readFile(from), std::string("new\0bytes", 9));

    EXPECT_EQ(testkit::errorNumberOf([&] { copyFile(root / "missing.iff", to); }), err::FileNotFound);
    EXPECT_EQ(readFile(to), std::string("new\0bytes", 9));
    EXPECT_EQ(testkit::errorNumberOf([&] { copyFile(from, root / "no/such/folder/to.iff"); }), err::PathNotFound);
}

}  // namespace
}  // namespace drapeline::platform
