#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/file_io.h"
#include "tests/logic/wardrobe_fixtures.h"
#ifndef _WIN32
#include "tests/support/unprivileged.h"   // POSIX permissions
#endif
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;

namespace fs = std::filesystem;

TEST(BackupName, FileSimNeighbourhoodAndTimeWithSecondsCleaned) {
    const platform::LocalTime at{2002, 3, 30, 14, 5, 7};
    struct Case {
        std::string path, name;
        std::string expected;
    };
    const Case cases[] = {
        {R"(C:\Program Files\Maxis\The Sims\UserData2\Characters\User00012.iff)", "Bella  (user00012)",
         "User00012iff_ellauser00012_UserData2_20020330_140507"},
        {"/home/ann/.wine/drive_c/Sims/userdata7/Characters/User00003.iff", "Ann - Smith  (user3)",
         "User00003iff_Smithuser3_userdata7_20020330_140507"},
        {R"(C:\Sims\Userdata\Characters\User1.iff)", "X-Y", "User1iff__Userdata_20020330_140507"},
        {R"(D:\Elsewhere\User1.iff)", "A", "User1iff__D_20020330_140507"},
        {"/srv/sims/User1.iff", "", "User1iff___20020330_140507"},
        {"User1.iff", "Zo\xE9 (\"x\")", "User1iff_ox__20020330_140507"},
        // The first "\Userdata" decides, even when a later folder is the neighbourhood.
        {R"(C:\UserDataFiles\The Sims\UserData3\Characters\User1.iff)", "Bo",
         "User1iff_o_UserDataFiles_20020330_140507"},
        // "Userdata" must follow a separator.
        {"/games/MyUserdata/Characters/User1.iff", "Bo", "User1iff_o__20020330_140507"},
    };
    for (const auto& c : cases) EXPECT_EQ(backupBaseName(c.path, c.name, at), c.expected) << c.path;
    EXPECT_EQ(backupBaseName("/s/UserData/User1.iff", "Bo", {2002, 1, 2, 3, 4, 5}),
              "User1iff_o_UserData_20020102_030405");
}

class ReplaceCharacterFile : public ::testing::Test {
protected:
    testkit::TempFolder folder;
    std::string program = folder.makeFolder("program");
    ByteText original = testkit::characterFile().build();
    std::string character = folder.write("game/UserData/Characters/User1.iff", original);
    IffFile changed = [this] {
        IffFile iff = parse(original);
        StringSet set = bodySet(iff);
        set.entries[1].text = "b002,BODY=b002lgt";
        strings::store(iff, set, WardrobeIdField, false);
        return iff;
    }();
};

TEST_F(ReplaceCharacterFile, TheTemporaryFileAndTheCharacterFileHoldTheNewContent) {
    folder.write("program/usertemp.iff", ByteText(500000, 'o'));   // longer than the new one
    int calls = 0;
    replaceCharacterFile(changed, character, program, [&] {
        ++calls;
        EXPECT_TRUE(readWholeFile(character) == original);   // the backup sees the old file
    });
    EXPECT_EQ(calls, 1);
    const ByteText written = readWholeFile(character);
    EXPECT_TRUE(written == iff::serialise(changed));
    EXPECT_TRUE(readWholeFile(folder / "program/usertemp.iff") == written);
    EXPECT_EQ(readFields(parse(written), bodySet(parse(written))).outfit(OutfitKind::Normal).mesh, "b002");
    // Nothing is left beside the character file.
    EXPECT_EQ(platform::listFolder(folder / "game/UserData/Characters", "*",
                                   platform::Listing::FilesAndFolders),
              std::vector<std::string>{"User1.iff"});
}

#ifndef _WIN32
// A neighbourhood kept elsewhere and linked into the game keeps its link; the file it names
// gets the new content, and a file that changed since it was read is left alone.
TEST_F(ReplaceCharacterFile, ALinkIsWrittenThroughAndAChangedFileIsRefused) {
    const std::string real = folder.write("elsewhere/User2.iff", original);
    const std::string link = folder / "game/UserData/Characters/User2.iff";
    fs::create_symlink(real, link);
    const FileIdentity read = identityOf(original);
    replaceCharacterFile(changed, link, program, {}, read);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(readWholeFile(real) == iff::serialise(changed));

    try {
        replaceCharacterFile(changed, link, program, {}, read);
        ADD_FAILURE() << "replaced a file that changed since it was read";
    } catch (const CharacterFileChanged& e) {
        EXPECT_EQ(e.now(), identityOf(iff::serialise(changed)));
    }
}
#endif

TEST_F(ReplaceCharacterFile, AFailureBeforeTheReplacementLeavesTheOldFileWhole) {
    const auto expectUnchanged = [&](const std::function<void()>& save, int number) {
        EXPECT_EQ(testkit::errorNumberOf(save), number);
        EXPECT_TRUE(readWholeFile(character) == original);
    };
    // The backup fails after the temporary file was written.
    expectUnchanged([&] {
        replaceCharacterFile(changed, character, program, [] { throw RuntimeError(61); });
    }, 61);
    EXPECT_TRUE(readWholeFile(folder / "program/usertemp.iff") == iff::serialise(changed));
    // A file that can not be stored as held.
    IffFile broken = changed;
    broken.chunks[0].label = "short";
    markStage(3000);
    expectUnchanged([&] { replaceCharacterFile(broken, character, program); }, 5);
    EXPECT_EQ(errorContext().stage, 3000);   // reported at the caller's stage
}

// Windows ignores the read-only mark on folders.
#ifndef _WIN32
// The copy in the program folder is the user's, not the save's: a folder that can not take
// it (read-only, or missing) costs that copy and nothing else.
TEST_F(ReplaceCharacterFile, AReadOnlyOrMissingProgramFolderCostsOnlyTheCopyInIt) {
    DRAPELINE_RUN_UNPRIVILEGED();
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    replaceCharacterFile(changed, character, program);
    fs::permissions(program, fs::perms::owner_all);
    EXPECT_TRUE(readWholeFile(character) == iff::serialise(changed));
    EXPECT_FALSE(fs::exists(program + "/usertemp.iff"));

    folder.write("game/UserData/Characters/User1.iff", original);
    replaceCharacterFile(changed, character, folder / "gone");
    EXPECT_TRUE(readWholeFile(character) == iff::serialise(changed));
}

TEST_F(ReplaceCharacterFile, ABackupCutShortLeavesNoFileAndAnExistingOneIsNeverReplaced) {
    const platform::LocalTime at{2002, 3, 30, 14, 5, 7};
    // A file size limit makes the write fail part way, as a full disk or a kill would.
    folder.write("game/UserData/Characters/User1.iff", ByteText(64 * 1024, 'b'));
    testkit::withFileSizeLimit(4096, [&] {
        EXPECT_THROW(makeUserBackup(program, character, "Bella", at), RuntimeError);
    });
    EXPECT_TRUE(platform::listFolder(folder / "program/Backup", "*", platform::Listing::FilesAndFolders).empty());
    // Hidden names are not listed; nothing at all may be left.
    EXPECT_TRUE(fs::is_empty(folder / "program/Backup"));

    const std::string first = makeUserBackup(program, character, "Bella", at);
    folder.write("game/UserData/Characters/User1.iff", original);
    const std::string second = makeUserBackup(program, character, "Bella", at);
    EXPECT_EQ(second, first + "_2");
    EXPECT_EQ(readWholeFile(first), ByteText(64 * 1024, 'b'));
    EXPECT_TRUE(readWholeFile(second) == original);
}

#endif

TEST_F(ReplaceCharacterFile, OwnLeftoversOlderThanAMinuteGoFromEveryFolderItWritesInto) {
    const auto ago = [](int seconds) {
        return fs::file_time_type::clock::now() - std::chrono::seconds(seconds);
    };
    struct Leftover {
        std::string name;
        int age;
        bool removed;
    };
    const Leftover leftovers[] = {
        {".User00001.iff.drapeline-4242-17-0.tmp", 120, true},
        {".user00123.IFF.drapeline-1-2-3.tmp", 3600, true},
        {".User00001.iff.drapeline-w-17-0.tmp", 120, true},
        {".Other name.iff.drapeline-4242-17-0.tmp", 120, true},
        {".User00001.iff.drapeline-4242-17-0.tmp.keep", 120, false},
        {".User00002.iff.drapeline-4242-17-1.tmp", 10, false},   // a write still running
        {"User00001.iff.drapeline-4242-17-0.tmp", 120, false},
        {".User00001.iff.other-4242-17-0.tmp", 120, false},
    };
    // The character file's folder, the program folder (usertemp.iff) and Backup.
    const std::string folders[] = {"game/UserData/Characters/", "program/", "program/Backup/"};
    for (const auto& f : folders)
        for (const auto& l : leftovers) fs::last_write_time(folder.write(f + l.name, "x"), ago(l.age));
    replaceCharacterFile(changed, character, program, [&] {
        makeUserBackup(program, character, "Bella", platform::LocalTime{2002, 3, 30, 14, 5, 7});
    });
    for (const auto& f : folders)
        for (const auto& l : leftovers) EXPECT_EQ(!fs::exists(folder / (f + l.name)), l.removed) << f << l.name;
}
