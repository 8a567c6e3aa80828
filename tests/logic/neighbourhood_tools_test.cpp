#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "core/file_io.h"
#include "tests/logic/wardrobe_fixtures.h"
#include "tools/neighbourhood_tools.h"
#include "tools/sim_pass.h"

using namespace drapeline;
using namespace drapeline::tools;
using wardrobe_fixtures::bodyStrings;
using wardrobe_fixtures::withEntries;

namespace fs = std::filesystem;

namespace {

class Neighbourhood : public ::testing::Test {
protected:
    testkit::TempFolder game, program;
    std::string characters = game.makeFolder("UserData/Characters");
    std::vector<std::string> files;

    // Written with an old modification time, so that any rewrite shows.
    void add(const std::string& name, const ByteText& bytes) {
        const std::string path = game.write("UserData/Characters/" + name, bytes);
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
        files.push_back(name);
    }
    void addSim(const std::string& name, const std::vector<std::string>& texts) {
        add(name, wardrobe_fixtures::simFile(texts));
    }
    std::string path(const std::string& name) const { return game / ("UserData/Characters/" + name); }

    struct Snapshot {
        ByteText bytes;
        fs::file_time_type time;
        bool operator==(const Snapshot&) const = default;
    };
    std::map<std::string, Snapshot> snapshot() const {
        std::map<std::string, Snapshot> all;
        for (const auto& f : files) all[f] = {readWholeFile(path(f)), fs::last_write_time(path(f))};
        return all;
    }
    std::vector<std::string> entries(const std::string& name) const {
        return wardrobe_fixtures::bodyTexts(readWholeFile(path(name)));
    }
};

std::vector<std::string> adult(const std::string& gender, const std::string& tone,
                               const std::string& normal, const std::string& formal,
                               const std::string& swimsuit, const std::string& pajamas) {
    return withEntries(bodyStrings(34, "adult", gender),
                {{2, normal}, {15, tone}, {31, formal}, {32, swimsuit}, {33, pajamas}});
}

}  // namespace

TEST_F(Neighbourhood, FixFitGivesMismatchedOutfitsTheNormalBodyTypeAndRewritesOnlyWhatChanges) {
    // The woman of the menu item's description.
    const auto woman = adult("female", "lgt", "b003fafit_01,BODY=b003fafitlgt_01",
                             "f100fafat_original,BODY=f100fafatlgt_original",
                             "s100faFIT_original,BODY=x",   // compared without regard to case
                             "l100fafit_original,BODY=y");
    // "Female" is not "female": man's names, upper-case body type.
    const auto man = adult("Female", "med", "b002mafat_01,BODY=b002mafatmed_01", "f100mafat_original,BODY=z",
                           "s100mafit_original,BODY=s100mafitmed_original", "l100maskn_original,BODY=w");
    addSim("User00001.iff", woman);
    addSim("User00002.iff", man);
    addSim("User00003.iff",   // matching: its bytes would not change, so it is not written
           adult("male", "drk", "b001mafit_01,BODY=t", "f100mafit_original,BODY=a",
                 "s100maFit_x,BODY=b", "l100mafit_z,BODY=c"));
    addSim("User00004.iff", withEntries(bodyStrings(34, "child"), {{31, "f100fcskn_x,BODY=x"}}));
    addSim("User00005.iff", withEntries(bodyStrings(30), {{28, "f100fafat_x,BODY=x"}}));
    const auto before = snapshot();

    const BatchReport report = fixFitToSkinny(characters, files, program.path());

    EXPECT_EQ(report.examined, 5);
    EXPECT_EQ(report.rewritten, (std::vector<std::string>{"User00001.iff", "User00002.iff"}));
    EXPECT_EQ(report.changed, report.rewritten);
    EXPECT_TRUE(report.skipped.empty());
    EXPECT_TRUE(report.backups.empty());
    EXPECT_EQ(completionMessage(report),
              "Operation Complete\r\n\r\nChanged: 2 sims\r\nUser00001.iff\r\nUser00002.iff");

    EXPECT_EQ(entries("User00001.iff"), withEntries(woman, {{31, "f100faFIT_original,BODY=f100faFITlgt_original"}}));
    EXPECT_EQ(entries("User00002.iff"), withEntries(man, {{32, "s100maFAT_original,BODY=s100maFATmed_original"},
                                                          {33, "l100maFAT_original,BODY=l100maFATmed_original"}}));
    const auto after = snapshot();
    for (const auto& f : {"User00003.iff", "User00004.iff", "User00005.iff"})
        EXPECT_EQ(after.at(f), before.at(f)) << f;
    // The temporary copy of the last rewrite stays, as after a save.
    EXPECT_EQ(readWholeFile(program / "usertemp.iff"), after.at("User00002.iff").bytes);
}

TEST_F(Neighbourhood, UnprocessableSimsAreSkippedWithAReasonAndTheRunGoesOn) {
    const ByteText good = wardrobe_fixtures::simFile(
        adult("female", "lgt", "b003fafit_01,BODY=t", "f100fafat_o,BODY=t", "s100fafit_o,BODY=t", "l100fafit_o,BODY=t"));
    add("User00001.iff", good.substr(0, good.size() - 10));
    addSim("User00002.iff", bodyStrings(32));
    addSim("User00003.iff", withEntries(bodyStrings(34), {{31, ""}}));
    addSim("User00004.iff", withEntries(bodyStrings(34), {{2, "b003fafit_01"}, {29, "HfLO,HAND=guao_pinkg"}}));
    add("User00005.iff", testkit::IffBuilder().chunk("OBJD", 128, ByteText(216, '\0'), "user00005").map().build());
    addSim("User00006.iff", bodyStrings(28));
    add("User00007.iff", good);
    const auto before = snapshot();

    const BatchReport fit = fixFitToSkinny(characters, files, program.path());
    std::vector<std::string> skipped;
    for (const auto& s : fit.skipped) skipped.push_back(s.file + ": " + s.reason);
    EXPECT_EQ(skipped, (std::vector<std::string>{
                           "User00001.iff: it can not be read (Error 62 - Input past end of file (RSMP))",
                           "User00002.iff: its wardrobe has only 32 entries, so the pajamas entry 33 is missing",
                           "User00003.iff: the formal entry 31 is not an outfit (it has no \",\")",
                           "User00004.iff: the normal outfit entry 2 is not an outfit (it has no \",\")",
                           "User00005.iff: it has no wardrobe strings"}));
    EXPECT_EQ(fit.rewritten, std::vector<std::string>{"User00007.iff"});
    EXPECT_EQ(completionMessage(fit),
              "Operation Complete\r\n\r\nChanged: 1 sim\r\nUser00007.iff\r\n\r\nSkipped:\r\nUser00001.iff\r\nUser00002.iff\r\nUser00003.iff\r\n"
              "User00004.iff\r\nUser00005.iff");

    const BatchReport pink = removePinkGorillaHands(characters, files, program.path());
    ASSERT_EQ(pink.skipped.size(), 3u);
    EXPECT_EQ(pink.skipped[2].file, "User00006.iff");
    EXPECT_EQ(pink.skipped[2].reason, "its wardrobe has only 28 entries, so the left formal hand entry 29 is missing");
    EXPECT_EQ(pink.rewritten, std::vector<std::string>{"User00004.iff"});   // a bad outfit is no matter here

    const auto after = snapshot();
    for (const auto& f : {"User00001.iff", "User00002.iff", "User00003.iff", "User00005.iff", "User00006.iff"})
        EXPECT_EQ(after.at(f), before.at(f)) << f;
}

TEST_F(Neighbourhood, AFailedBackupIsReportedAndLeavesTheCharacterFileWhole) {
    addSim("User00001.iff", withEntries(bodyStrings(34), {{29, "HfLO,HAND=guao_pinkg"}}));
    const auto before = snapshot();
    // No room for the backup: the file is not written either.
    program.write("Backup", "a file where the folder belongs");
    testkit::FixedClock clock;
    const BatchReport backup = removePinkGorillaHands(characters, files, program.path(), {.backupClock = &clock});
    ASSERT_EQ(backup.skipped.size(), 1u);
    EXPECT_EQ(backup.skipped[0].reason, "it could not be backed up (Error 76 - Path not found)");
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(completionMessage(backup), "Operation Complete\r\n\r\nChanged: 0 sims\r\n\r\nSkipped:\r\nUser00001.iff");
}

TEST_F(Neighbourhood, PinkHandsAreReplacedByTheGenderDefaultAndNothingElseIsWritten) {
    const auto pink = [](const std::string& age, const std::string& gender, const std::string& left) {
        return withEntries(bodyStrings(34, age, gender), {{29, left}, {30, "HfRO,HAND=something"}});
    };
    addSim("User00001.iff", pink("adult", "female", "HfLO,HAND=guao_pinkg"));
    addSim("User00002.iff", pink("adult", "male", "HmLO,HAND=guao_pinkg"));
    addSim("User00003.iff", pink("child", "female", "HuLO,HAND=guao_pinkg"));
    addSim("User00004.iff", pink("adult", "female", "HfLO,HAND=GUAO_PINKG"));
    addSim("User00005.iff", pink("adult", "female", "HfLO,HAND=gfao_bride"));
    addSim("User00006.iff", pink("adult", "female", "guao_pinkg"));   // no "=": whole entry
    const auto before = snapshot();

    const BatchReport dry = removePinkGorillaHands(characters, files, program.path(), {.dryRun = true});
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(platform::pathExists(program / "usertemp.iff"));

    const BatchReport report = removePinkGorillaHands(characters, files, program.path());
    const std::vector<std::string> fixed{"User00001.iff", "User00002.iff", "User00006.iff"};
    EXPECT_EQ(report.rewritten, fixed);
    EXPECT_EQ(dry.rewritten, fixed);
    EXPECT_EQ(dry.changed, fixed);
    EXPECT_EQ(entries("User00001.iff")[28], "HfLO,HAND=gfao_bride");
    EXPECT_EQ(entries("User00001.iff")[29], "HfRO,HAND=gfao_bride");
    EXPECT_EQ(entries("User00002.iff")[28], "");
    EXPECT_EQ(entries("User00002.iff")[29], "");
    const auto after = snapshot();
    for (const auto& f : {"User00003.iff", "User00004.iff", "User00005.iff"})
        EXPECT_EQ(after.at(f), before.at(f)) << f;
}

TEST_F(Neighbourhood, BackupsAreMadeOnlyOfChangedFilesAndNeverOverAnOlderOne) {
    for (int i = 1; i <= 22; ++i)
        addSim("User" + std::to_string(100000 + i).substr(1) + ".iff",
               withEntries(bodyStrings(34), {{29, "HfLO,HAND=guao_pinkg"}}));
    addSim("User00023.iff", bodyStrings(34));   // no pink hands: not written, not backed up
    addSim("User00024.iff", withEntries(bodyStrings(34, "child"), {{29, "HuLO,HAND=guao_pinkg"}}));
    const auto before = snapshot();
    const std::string first = "User00001iff_ellauser00012_UserData_20020330_140507";
    const std::string older = program.write("Backup/" + first, "an older backup");
    testkit::FixedClock clock;

    EXPECT_TRUE(removePinkGorillaHands(characters, files, program.path(), {.dryRun = true, .backupClock = &clock})
                    .backups.empty());
    const BatchReport report = removePinkGorillaHands(characters, files, program.path(), {.backupClock = &clock});
    ASSERT_EQ(report.backups.size(), 22u);
    EXPECT_EQ(report.backups[0], program / ("Backup/" + first + "_2"));
    EXPECT_EQ(readWholeFile(older), "an older backup");
    for (std::size_t i = 0; i < 22; ++i)
        EXPECT_EQ(readWholeFile(report.backups[i]), before.at(report.rewritten[i]).bytes) << i;
    EXPECT_EQ(platform::listFolder(program / "Backup", "*", platform::Listing::FilesAndFolders).size(), 23u);
    const auto after = snapshot();
    for (const auto& f : {"User00023.iff", "User00024.iff"}) EXPECT_EQ(after.at(f), before.at(f)) << f;

    std::string listed;
    for (int i = 1; i <= 20; ++i) listed += "\r\nUser" + std::to_string(100000 + i).substr(1) + ".iff";
    EXPECT_EQ(completionMessage(report), "Operation Complete\r\n\r\nChanged: 22 sims" + listed + "\r\nand 2 more");
}

TEST_F(Neighbourhood, APassLongerThanOneRoundWritesEveryFileAndRefusesOneChangedBeforeItsTurn) {
    // More files than one round of staged writes holds, so the pass puts files in place in
    // several rounds; one is listed twice and one is rewritten by another program after
    // the pass read it.
    for (int i = 1; i <= 70; ++i)
        addSim("User" + std::to_string(100000 + i).substr(1) + ".iff",
               withEntries(bodyStrings(34), {{29, "HfLO,HAND=guao_pinkg"}}));
    const auto before = snapshot();
    std::vector<std::string> list = files;
    list.insert(list.begin() + 67, "User00066.iff");   // staged in the same round
    const std::string theGames = "User00068.iff";
    const ByteText gameWrote = wardrobe_fixtures::simFile(withEntries(bodyStrings(34), {{3, "written by the game"}}));
    testkit::FixedClock clock;

    const BatchReport report = detail::runBatch(
        characters, list, program.path(), {.backupClock = &clock, .keepUserTemp = false},
        [&](const std::string& name, wardrobe::OpenedSim& sim) {
            // The game writes its file while the pass still holds it staged (the game does
            // not lock).
            if (name == "User00069.iff") platform::writeFile(path(theGames), gameWrote);
            return detail::pinkHandsRule(sim.bodyStrings.entries);
        });

    EXPECT_EQ(report.examined, 71);
    ASSERT_EQ(report.rewritten.size(), 69u);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].file, theGames);
    EXPECT_EQ(report.skipped[0].reason, "another program changed it while it was being repaired");
    EXPECT_EQ(report.unwritten, 1);
    EXPECT_EQ(readWholeFile(path(theGames)), gameWrote);
    // Every written file has its one backup, of what it held; the refused file has none.
    ASSERT_EQ(report.backups.size(), 69u);
    EXPECT_EQ(platform::listFolder(program / "Backup", "*", platform::Listing::FilesAndFolders).size(), 69u);
    for (std::size_t i = 0; i < 69; ++i) {
        EXPECT_EQ(readWholeFile(report.backups[i]), before.at(report.rewritten[i]).bytes) << i;
        EXPECT_EQ(entries(report.rewritten[i])[28], "HfLO,HAND=gfao_bride") << i;
    }
    // The pass leaves no temporary file behind.
    for (const auto& name : platform::listFolder(characters, "*", platform::Listing::FilesOnly))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(Neighbourhood, ExportWritesOneLinePerReadableSimAndReplacesEarlierExports) {
    addSim("User00001.iff", withEntries(bodyStrings(34), {{2, "m,BODY=body_one"}, {3, "head_without_equals"}}));
    add("User00002.iff", "not a character file");
    const auto third = withEntries(bodyStrings(34), {{2, "m,BODY=body=two"}, {3, "h,HEAD-HEAD=head_two"}});
    add("User00003.iff", testkit::IffBuilder().strings(200, third).map().build());   // no name set
    addSim("User00004.iff", bodyStrings(2));

    const ExportReport report = exportSkinNames(characters, files, program.path());
    EXPECT_EQ(report.headPath, program / "headskins.txt");
    EXPECT_EQ(report.bodyPath, program / "bodyskins.txt");
    EXPECT_EQ(report.exported, 2);
    ASSERT_EQ(report.skipped.size(), 2u);
    EXPECT_EQ(report.skipped[1].reason, "its wardrobe has only 2 entries, so the head entry 3 is missing");
    EXPECT_EQ(readWholeFile(report.headPath),
              "User00001.iff;Bella;head_without_equals\r\nUser00003.iff;;head_two\r\n");
    EXPECT_EQ(readWholeFile(report.bodyPath), "User00001.iff;Bella;body_one\r\nUser00003.iff;;body=two\r\n");
    EXPECT_EQ(exportMessage(report), "Exported:\r\n" + report.headPath + "\r\n" + report.bodyPath +
                                         "\r\n\r\nSkipped:\r\nUser00002.iff\r\nUser00004.iff");

    const ExportReport again = exportSkinNames(characters, {"User00003.iff"}, program.path());
    EXPECT_EQ(readWholeFile(again.headPath), "User00003.iff;;head_two\r\n");
    EXPECT_EQ(readWholeFile(again.bodyPath), "User00003.iff;;body=two\r\n");
    EXPECT_EQ(exportMessage(again), "Exported:\r\n" + again.headPath + "\r\n" + again.bodyPath);
}
