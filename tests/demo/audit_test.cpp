#include <gtest/gtest.h>

#include <set>

#include "audit/audit_export.h"
#include "audit/audit_rules.h"
#include "audit/batch.h"
#include "core/file_io.h"
#include "core/string_set.h"
#include "demo/demo_game.h"
#include "demo/roster.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;
using audit::ProblemKind;

namespace {

using Found = std::set<std::pair<std::string, std::string>>;   // (neighbourhood/file, kind)

struct DemoOnDisk {
    testkit::TempFolder folder;
    testkit::TempFolder program;
    DemoOnDisk() {
        for (const auto& f : demo::buildDemoGame().files) folder.write(f.path, f.bytes);
    }
    std::string sim(const demo::SimPlan& s) const {
        return neighbourhood::characterFolder(folder.path(), s.neighbourhood) + platform::nativeSeparator() + s.fileName;
    }
    audit::BatchPlace place(const std::string& neighbourhood) const {
        return {folder.path(), neighbourhood, program.path()};
    }
};

const demo::SimPlan& plantedWith(const std::string& fault) {
    static const auto roster = demo::demoRoster();
    for (const auto& s : roster)
        for (const auto& f : s.faults)
            if (f == fault) return s;
    throw std::logic_error("no demo sim has " + fault);
}

// An adult of 34 entries with nothing planted.
const demo::SimPlan& healthyAdult() {
    static const auto roster = demo::demoRoster();
    for (const auto& s : roster)
        if (s.adult && s.bodyStrings.size() == 34 && s.notes.empty()) return s;
    throw std::logic_error("no healthy adult in the demo");
}

Found audited(const std::string& game) {
    Found found;
    for (const auto& [folder, count] : demo::Neighbourhoods)
        for (const auto& row : audit::auditNeighbourhood(game, std::string(folder)))
            for (const auto& p : row.problems) found.insert({row.neighbourhood + "/" + row.file, audit::kindId(p.kind)});
    return found;
}

}  // namespace

TEST(Audit, FindsExactlyTheFaultsPlantedInTheDemo) {
    const DemoOnDisk demo;
    Found planted;
    for (const auto& s : demo::demoRoster())
        for (const auto& f : s.faults) planted.insert({s.neighbourhood + "/" + s.fileName, f});
    EXPECT_EQ(audited(demo.folder.path()), planted);
    for (const char* fault : {"missing-texture", "skin-tone", "body-type", "pink-hands", "unreadable"})
        EXPECT_NO_THROW(plantedWith(fault)) << fault;
}

// Each rule on a fault put into one healthy demo sim's wardrobe.
TEST(Audit, EachRuleFindsItsFaultAndSaysWhere) {
    const DemoOnDisk demo;
    const auto skins = skins::InstalledSkins::list(demo.folder.path());
    const std::string path = demo.sim(healthyAdult());
    wardrobe::OpenedSim healthy;
    ASSERT_FALSE(wardrobe::openSim(path, healthy));
    const auto& e = healthy.bodyStrings.entries;
    const std::string tone = e[14].text, other = tone == "lgt" ? "drk" : "lgt";
    const std::string woman = e[12].text == "female" ? "fa" : "ma", man = woman == "fa" ? "ma" : "fa";
    const std::string body = audit::auditOpened(path, healthy, skins).bodyType;
    const std::string otherBody = body == "fit" ? "fat" : "fit";
    const std::string hand = e[17].text.substr(0, e[17].text.size() - 3);

    struct Case {
        std::size_t entry;
        std::string text;
        ProblemKind kind;
        std::string where;
    } cases[] = {
        {32, "s100" + woman + body + "_gone,BODY=s100" + woman + body + tone + "_original", ProblemKind::MeshMissing, "Swimsuit"},
        {31, "f100" + woman + body + "_original,BODY=f100" + woman + body + tone + "_gone", ProblemKind::TextureMissing, "Formal"},
        {18, hand + other, ProblemKind::SkinTone, "Open left"},
        {33, "l100" + woman + otherBody + "_original,BODY=l100" + woman + otherBody + tone + "_original", ProblemKind::BodyType, "Pajamas"},
        {34, "W100" + man + body + "_original,BODY=W100" + man + body + tone + "_original", ProblemKind::BodyType, "Winter"},
        {31, "f100fcchd_original,BODY=f100fcchd" + tone + "_original", ProblemKind::BodyType, "Formal"},
        {29, "HfLO,HAND=guao_pinkg", ProblemKind::PinkHands, "Formal left"},
        {34, "*** VACATION ONLY ***,BODY=*** VACATION ONLY ***", ProblemKind::Layout, "Winter"},
        {34, "*** VACATION ONLY ***", ProblemKind::Layout, ""},
    };
    for (const auto& c : cases) {
        wardrobe::OpenedSim sim = healthy;
        sim.bodyStrings.entries[c.entry - 1].text = c.text;
        if (c.entry == 29) sim.bodyStrings.entries[29].text = "HfRO,HAND=gfao_bride";
        strings::store(sim.iff, sim.bodyStrings, WardrobeIdField, false);
        const audit::SimRow row = audit::auditOpened(path, sim, skins);
        std::string texts;
        for (const auto& p : row.problems) texts += p.text + "; ";
        ASSERT_EQ(row.problems.size(), 1u) << c.text << ": " << texts;
        EXPECT_EQ(row.problems[0].kind, c.kind) << c.text;
        EXPECT_EQ(row.problems[0].where, c.where) << c.text;
    }

    const std::string damaged = demo.folder.write("UserData/Characters/User00099.iff", ByteText("IFF FILE 2.5", 12));
    const audit::SimRow row = audit::auditFile(damaged, skins);
    ASSERT_EQ(row.problems.size(), 1u);
    EXPECT_EQ(row.problems[0].kind, ProblemKind::Unreadable);
    EXPECT_NE(row.problems[0].text.find("Error"), std::string::npos) << row.problems[0].text;
    EXPECT_NE(audit::rowsCsv({row}).find("User00099.iff"), std::string::npos);
}

TEST(Audit, ToneCodesAreFoundBeforeTheFirstUnderscore) {
    const std::pair<const char*, const char*> cases[] = {
        {"b003fafitmed_01", "med"}, {"huaoLGT", "lgt"}, {"uffitdrk_undies01", "drk"}, {"gfao_bride", ""}, {"lg", ""}};
    for (const auto& [texture, tone] : cases) EXPECT_EQ(audit::toneCodeOf(texture).value_or(""), tone) << texture;
    EXPECT_EQ(audit::withTone("b003fafitmed_01", "lgt"), "b003fafitlgt_01");
    EXPECT_EQ(audit::withTone("gfao_bride", "lgt"), "gfao_bride");
}

TEST(Batch, UndoPutsEveryFileBackByteForByteAndRefusesOneChangedSince) {
    const DemoOnDisk demo;
    const testkit::FixedClock clock;
    const auto files = neighbourhood::listSimFiles(demo.folder.path(), "UserData");
    const std::string characters = neighbourhood::characterFolder(demo.folder.path(), "UserData");
    std::vector<ByteText> before;
    for (const auto& f : files) before.push_back(readWholeFile(platform::joinPath(characters, f)));

    audit::BatchAction action;
    ASSERT_FALSE(audit::parseAction("default", "swimsuit", action));
    const audit::BatchResult result = audit::runBatchChange(demo.place("UserData"), files, action, clock);
    ASSERT_GE(result.changed.size(), 10u);
    EXPECT_EQ(result.changed.size() + result.unchanged.size() + result.refused.size(), files.size());
    EXPECT_EQ(result.backups.size(), result.changed.size());
    const auto record = audit::lastBatch(demo.program.path());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->id, result.id);
    EXPECT_EQ(record->files.size(), result.changed.size());

    // Another program changes one of the files; the undo leaves that one and names it.
    const std::string touched = platform::joinPath(characters, result.changed[0]);
    const ByteText theirs = readWholeFile(touched) + "x";
    platform::replaceFileAtomically(touched, theirs);
    const audit::UndoResult undo = audit::undoBatch(*record, demo.program.path(), clock);
    ASSERT_EQ(undo.refused.size(), 1u);
    EXPECT_EQ(undo.refused[0].file, touched);
    EXPECT_EQ(undo.restored.size(), result.changed.size() - 1);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string path = platform::joinPath(characters, files[i]);
        EXPECT_TRUE(readWholeFile(path) == (path == touched ? theirs : before[i])) << files[i];
    }
    EXPECT_FALSE(audit::lastBatch(demo.program.path()));
    EXPECT_TRUE(audit::findBatch(demo.program.path(), result.id)->undone);

    // Files in the Backup folder that only look like records are passed over: not JSON,
    // nested past reason, or a record padded past any size a batch writes.
    const std::string backups = platform::joinPath(demo.program.path(), "Backup");
    const ByteText real = readWholeFile(record->path);
    platform::writeFile(platform::joinPath(backups, "batch_text.json"), "not a record");
    platform::writeFile(platform::joinPath(backups, "batch_deep.json"), std::string(10000, '['));
    platform::writeFile(platform::joinPath(backups, "batch_huge.json"),
                        real.substr(0, real.find("\"batch\": \"") + 10) + "X" +
                            real.substr(real.find("\"batch\": \"") + 10) + std::string(17u << 20, ' '));
    EXPECT_EQ(audit::listBatches(demo.program.path()).size(), 1u);
}

TEST(Batch, MatchingTheToneTakesInstalledTexturesAndReportsTheRest) {
    const DemoOnDisk demo;
    const testkit::FixedClock clock;
    const demo::SimPlan& sim = plantedWith("skin-tone");
    // Loaded in the edit window, the same ensemble is offered the sim's tone: three textures.
    wardrobe::OpenedSim opened;
    ASSERT_FALSE(wardrobe::openSim(demo.sim(sim), opened));
    const auto offer = audit::toneMatchOffer(wardrobe::readFields(opened.iff, opened.bodyStrings), demo.folder.path());
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->question.rfind("The ensemble has 3 textures of another skin tone", 0), 0u) << offer->question;
    EXPECT_EQ(offer->matched.hand(wardrobe::HandSlot::OpenRight).substr(4), sim.tone);

    // The sim's own tone of its normal texture is gone; its hands' are there.
    const std::string& normal = sim.bodyStrings[1];
    const std::string wanted = audit::withTone(normal.substr(normal.find('=') + 1), sim.tone);
    ASSERT_TRUE(platform::removeFile(platform::resolvePath(demo.folder.path(), "GameData/Skins/" + wanted + ".bmp")));

    audit::BatchAction action;
    ASSERT_FALSE(audit::parseAction("match-tone", "", action));
    const audit::BatchResult result = audit::runBatchChange(demo.place(sim.neighbourhood), {sim.fileName}, action, clock);
    EXPECT_EQ(result.changed, std::vector<std::string>{sim.fileName});
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_NE(result.notes[0].reason.find("(" + wanted + ") is installed"), std::string::npos) << result.notes[0].reason;

    const auto skins = skins::InstalledSkins::list(demo.folder.path());
    const audit::SimRow row = audit::auditFile(demo.sim(sim), skins);
    EXPECT_EQ(row.hand(wardrobe::HandSlot::OpenLeft).texture.substr(4), sim.tone);
    EXPECT_EQ(row.hand(wardrobe::HandSlot::OpenRight).mark, audit::Mark::Ok);
    EXPECT_EQ(row.outfit(wardrobe::OutfitKind::Normal).mark, audit::Mark::Problem);
    EXPECT_NE(audit::batchReport(result).find("Left as they were:"), std::string::npos);
}

// A whole neighbourhood's batch still fits a message box; the refusals keep their reasons.
TEST(Batch, ReportListsTwentyNamesAListAtMost) {
    audit::BatchResult result;
    for (int i = 0; i < 25; ++i) result.changed.push_back("User" + std::to_string(100 + i) + ".iff");
    result.refused.push_back({"User9.iff", "it can not be read"});
    const std::string report = audit::batchReport(result);
    EXPECT_NE(report.find("User119.iff\r\n  and 5 more\r\nUnchanged: 0 sims"), std::string::npos) << report;
    EXPECT_EQ(report.find("User120.iff"), std::string::npos);
    EXPECT_NE(report.find("Refused: 1 sim\r\n  User9.iff: it can not be read"), std::string::npos) << report;
}
