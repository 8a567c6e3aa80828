#include <gtest/gtest.h>

#include "core/file_io.h"
#include "testkit/fixture_sim.h"
#include "tests/logic/wardrobe_fixtures.h"
#include "tools/backups.h"
#include "tools/neighbourhood_tools.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::tools;
using platform::MessageIcon;
using platform::MessageReply;

TEST(BackupName, PartsAreReadBackFromTheNamesSavesMake) {
    struct Case {
        std::string name, file, sim, neighbourhood;
        int copy;
    };
    const Case cases[] = {
        {"User00012iff_ellauser00012_UserData2_20020330_140507", "User00012iff", "ellauser00012", "UserData2", 1},
        {"User00012iff_ellauser00012_UserData2_20020330_140507_2", "User00012iff", "ellauser00012", "UserData2", 2},
        {"User1iff_Bob_the_builder_userdata7_20020330_140507_12", "User1iff", "Bob_the_builder", "userdata7", 12},
        {"User1iff___20020330_140507", "User1iff", "", "", 1},   // no sim name, kept elsewhere
        {"User1iff__D_20020330_140507", "User1iff", "", "D", 1},
        {"User1iff_abe_UserData_old_20020330_140507", "User1iff", "abe", "UserData_old", 1},
        {"User1iff_Jo_Ann_UserData_2_x_20020330_140507_3", "User1iff", "Jo_Ann", "UserData_2_x", 3},
    };
    for (const auto& c : cases) {
        const auto info = parseBackupName(c.name);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->fileName, c.file) << c.name;
        EXPECT_EQ(info->simPart, c.sim) << c.name;
        EXPECT_EQ(info->neighbourhood, c.neighbourhood) << c.name;
        EXPECT_EQ(info->copy, c.copy) << c.name;
        EXPECT_EQ(timeText(info->time), "2002-03-30 14:05:07");
    }
    EXPECT_EQ(parseBackupName(cases[0].name)->characterFileName(), "User00012.iff");
    for (const char* name : {"User1iff_x_UserData_20021330_140507",     // month 13
                             "User1iff_x_UserData_20020330_146007",     // minute 60
                             "User1iff_x_UserData_20020330_140507_1",   // copies start at 2
                             "User1iff_UserData_20020330_140507",       // a part missing
                             "_x_UserData_20020330_140507", "usertemp.iff", "notes_2002_1405"})
        EXPECT_FALSE(parseBackupName(name)) << name;
}

class Restore : public wardrobe_fixtures::EditSimTest {
protected:
    std::string addSim(const std::string& neighbourhood, const std::string& name, const ByteText& bytes) {
        return game.write(neighbourhood + "/Characters/" + name, bytes);
    }
    std::string backup(const std::string& name, const ByteText& bytes) {
        return programFolder.write("Backup/" + name, bytes);
    }
    // A sim with `text` in wardrobe entry `entry`, the normal outfit unless said.
    static ByteText sim(const std::string& text, std::size_t entry = 2) {
        return wardrobe_fixtures::simFile(
            wardrobe_fixtures::withEntries(wardrobe_fixtures::bodyStrings(34), {{entry, text}}));
    }
};

TEST_F(Restore, EachKindOfBackupGoesBackAndTheRestoreCanItselfBeUndone) {
    const ByteText original = sim("b001,BODY=one");
    const std::string path = addSim("UserData2", "User00012.iff", original);
    machine.clock.time = {2002, 3, 30, 14, 5, 7};
    const std::string saved = wardrobe::makeUserBackup(programFolder.path(), path, "Bella  (user00012)",
                                                       machine.clock.now());   // as a save makes it
    const ByteText repaired = sim("HfLO,HAND=guao_pinkg", 29);
    game.write("UserData2/Characters/User00012.iff", repaired);
    machine.clock.time.minute = 6;
    const BatchReport batch = removePinkGorillaHands(game / "UserData2/Characters", {"User00012.iff"},
                                                     programFolder.path(), {.backupClock = &machine.clock});
    ASSERT_EQ(batch.backups.size(), 1u);
    const ByteText afterRepair = readWholeFile(path);

    // The save's backup: the file goes back, and what it held is kept first.
    machine.clock.time.minute = 7;
    PreparedRestore prepared = prepareRestore(saved, game.path());
    ASSERT_EQ(prepared.problem, "");
    EXPECT_EQ(prepared.characterPath, path);
    const std::string undo = completeRestore(prepared, programFolder.path(), machine.clock);
    EXPECT_EQ(readWholeFile(path), original);
    EXPECT_EQ(readWholeFile(undo), afterRepair);
    EXPECT_EQ(readWholeFile(programFolder / "usertemp.iff"), original);

    // The repair's backup and the restore's own backup go back the same way.
    for (const auto& [from, expected] : {std::pair{batch.backups[0], repaired}, std::pair{undo, afterRepair}}) {
        prepared = prepareRestore(from, game.path());
        ASSERT_EQ(prepared.problem, "") << from;
        completeRestore(prepared, programFolder.path(), machine.clock);
        EXPECT_EQ(readWholeFile(path), expected) << from;
    }
    // Newest first; every restore left one more backup, none replaced.
    const auto all = listBackups(programFolder.path());
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all.back().path, saved);
    EXPECT_EQ(all[0].copy, 3);
    EXPECT_EQ(readWholeFile(saved), original);
}

TEST_F(Restore, BackupsThatCanNotGoBackAreRefusedAndNothingChanges) {
    const ByteText good = sim("b001,BODY=one");
    const std::string here = addSim("UserData", "User00001.iff", sim("b002,BODY=now"));
    addSim("UserData3", "User00001.iff", sim("b003,BODY=now"));
    addSim("UserData", "User00002.iff", sim("b004,BODY=now"));
    struct Case {
        std::string name;
        ByteText bytes;
        std::string problem;   // "" : restored into `expectedPath`
        std::string expectedPath;
    };
    const Case cases[] = {
        {"User00001iff_x_UserData_20020330_140507", good.substr(0, good.size() - 5),
         "it is damaged or can not be read (Error 62 - Input past end of file (RSMP))", ""},
        {"User00009iff_x_UserData_20020330_140507", good, "User00009.iff is not in UserData of the game folder " + game.path(), ""},
        {"User00001iff_x_D_20020330_140507", good,
         "User00001.iff is in more than one neighbourhood (UserData, UserData3), and the backup's name does not say which", ""},
        {"User00008iff_x__20020330_140507", good, "no neighbourhood of the game folder " + game.path() + " holds User00008.iff", ""},
        {"User00002iff_x__20020330_140507", good, "", game / "UserData/Characters/User00002.iff"},   // one match elsewhere
        {"userdata.iff", good, "its name is not that of a backup Drapeline makes", ""},
    };
    for (const auto& c : cases) {
        const PreparedRestore prepared = prepareRestore(backup(c.name, c.bytes), game.path());
        EXPECT_EQ(prepared.problem, c.problem) << c.name;
        EXPECT_EQ(prepared.characterPath, c.expectedPath) << c.name;
    }
    EXPECT_EQ(refusalMessage("/b/x", "it is damaged"),
              "The backup /b/x can not be restored: it is damaged. Nothing has been changed.");

    // The window's model: a refusal is a warning, and the file stays as it was.
    const ByteText before = readWholeFile(here);
    RestoreModel restore(machine.services, session, here);
    EXPECT_EQ(restore.heading(), "Backups of User00001.iff (UserData)");
    ASSERT_EQ(restore.rows().size(), 1u);   // only this sim's: the damaged one
    EXPECT_FALSE(restore.restore(0));
    ASSERT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_EQ(machine.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(machine.dialogs.shown[0].title, "Restore Backup");
    EXPECT_EQ(readWholeFile(here), before);
    restore.setShowAll(true);
    EXPECT_EQ(restore.rows().size(), std::size(cases) - 1);
}

TEST_F(Restore, TheWindowsModelAsksFirstAndTellsWhereTheOldFileWent) {
    const std::string path = addSim("UserData", "User00001.iff", sim("b002,BODY=now"));
    const std::string from = backup("User00001iff_ellauser00012_UserData_20020330_140507", sim("b001,BODY=then"));
    backup("User00002iff_x_UserData_20020330_150000", sim("b001,BODY=other"));
    RestoreModel restore(machine.services, session, path);
    ASSERT_EQ(restore.rows().size(), 1u);
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_FALSE(restore.restore(0));
    EXPECT_EQ(machine.dialogs.shown[0].text, "Put the backup of 2002-03-30 14:05:07 in place of " + path +
                                                 "?\r\nThe file as it is now is backed up first.\r\nAre You Sure?");
    EXPECT_EQ(readWholeFile(path), sim("b002,BODY=now"));

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(restore.restore(0));
    EXPECT_EQ(readWholeFile(path), readWholeFile(from));
    const std::string taken = programFolder / "Backup/User00001iff_ellauser00012_UserData_20020330_140507_2";
    EXPECT_EQ(machine.dialogs.shown.back().text, path + " has been restored from the backup of 2002-03-30 "
                                                        "14:05:07.\r\nThe file as it was is kept in the backup " +
                                                     taken + ".");
    EXPECT_EQ(readWholeFile(taken), sim("b002,BODY=now"));
    EXPECT_EQ(restore.rows().size(), 2u);   // the list shows the new backup
}

// File numbers repeat from game to game: another game's User00005 is another sim, and its
// backup must not silently take this sim's place.
TEST_F(Restore, AnotherSimsBackupIsNotListedForThisSimAndGoesBackOnlyWhenTheUserInsists) {
    const auto person = [](const std::string& name, std::uint32_t seed) {
        testkit::SimOptions sim;
        sim.objectLabel = "user00005";
        sim.names = {name, name + " Smith"};
        sim.seed = seed;   // another object definition, so another GUID
        return testkit::characterFile(sim).build();
    };
    const ByteText yusuf = person("Yusuf", 3);
    const std::string path = addSim("UserData", "User00005.iff", yusuf);
    const std::string nils = backup("User00005iff_ilsuser00005_UserData_20020330_140507", person("Nils", 2));
    backup("User00005iff_usufuser00005_UserData_20020330_150000", yusuf);

    const PreparedRestore prepared = prepareRestore(nils, game.path());
    EXPECT_EQ(prepared.problem, "");
    EXPECT_EQ(prepared.otherSim, "This backup holds Nils; UserData/User00005.iff now holds Yusuf.");

    RestoreModel restore(machine.services, session, path);
    ASSERT_EQ(restore.rows().size(), 1u);   // Yusuf's own backup only
    EXPECT_EQ(restore.rows()[0].simName(), "Yusuf");
    restore.setShowAll(true);
    ASSERT_EQ(restore.rows().size(), 2u);
    ASSERT_EQ(restore.rows()[1].path, nils);
    machine.dialogs.replies = {MessageReply::No, MessageReply::Yes};
    EXPECT_FALSE(restore.restore(1));
    EXPECT_EQ(machine.dialogs.shown[0].buttons, platform::MessageButtons::YesNoKeepByDefault);
    EXPECT_EQ(machine.dialogs.shown[0].text.substr(0, prepared.otherSim.size() + 2), prepared.otherSim + "\r\n");
    EXPECT_EQ(readWholeFile(path), yusuf);
    EXPECT_TRUE(restore.restore(1));
    EXPECT_EQ(readWholeFile(path), readWholeFile(nils));
}
