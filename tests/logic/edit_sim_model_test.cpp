#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "neighbourhood/sim_browser.h"
#include "tests/logic/wardrobe_fixtures.h"
#include "tests/support/unprivileged.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::wardrobe;
using namespace drapeline::wardrobe_fixtures;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageReply;
using platform::StockPicture;
using Box = testkit::ScriptedDialogs::Box;
constexpr auto Saved = EditSimModel::SaveOutcome::Saved;
constexpr auto NotSaved = EditSimModel::SaveOutcome::NotSaved;

namespace fs = std::filesystem;

namespace {

class EditSim : public EditSimTest {
protected:
    const ByteText original = testkit::characterFile().build();   // Bella  (user00012)

    std::string writeSim(const std::string& name, const ByteText& bytes) {
        return game.write("UserData2/Characters/" + name, bytes);
    }
    // Bella written as User00001.iff and opened.
    std::string openBella() {
        const std::string path = writeSim("User00001.iff", original);
        EXPECT_TRUE(model.open(path));
        return path;
    }
};

}  // namespace

TEST_F(EditSim, OpeningShowsTheFieldsAndThePicturesFoundInTheirFolders) {
    installSkin("GameData/Skins/b001fafitlgt_01.bmp");         // normal, any letter case
    installSkin("ExpansionShared/SkinsBuy/s001fafitlgt_01.bmp"); // swimsuit: third folder
    installSkin("ExpansionPack3/SkinsBuy/f001fafitlgt_01.bmp");  // formal: second folder wins
    installSkin("expansionshared/skinsbuy/f001fafitlgt_01.bmp");
    installSkin("ExpansionShared/SkinsBuy/n001fafitlgt_01.bmp"); // nude looks only in the base
    installSkin("GameData/Skins/gfao_bride.bmp");
    installSkin("ExpansionShared/SkinsBuy/gfap_lgt.bmp");        // hands look only in the base
    const std::string path = openBella();
    const IffFile iff = parse(readWholeFile(path));
    EXPECT_EQ(model.fields(), readFields(iff, bodySet(iff)));

    EXPECT_EQ(shown(model.webImage()), "SimPictures/web_image.BMP");
    EXPECT_EQ(model.faces().picture->width(), 32);
    EXPECT_EQ(model.relImages().picture->width(), 24);
    EXPECT_EQ(shown(preview(OutfitKind::Normal)), "Skins/b001fafitlgt_01.bmp");
    EXPECT_EQ(shown(preview(OutfitKind::Swimsuit)), "SkinsBuy/s001fafitlgt_01.bmp");
    EXPECT_EQ(preview(OutfitKind::Formal).path, game / "ExpansionPack3/SkinsBuy/f001fafitlgt_01.bmp");
    for (const OutfitKind k : {OutfitKind::Pajamas, OutfitKind::Nude, OutfitKind::Winter})
        EXPECT_EQ(shown(preview(k)), stock(StockPicture::NotFound));
    for (const HandSlot s : {HandSlot::FormalLeft, HandSlot::FormalRight})
        EXPECT_EQ(shown(preview(s)), "Skins/gfao_bride.bmp");
    for (const HandSlot s : {HandSlot::PointLeft, HandSlot::OpenLeft})
        EXPECT_EQ(shown(preview(s)), stock(StockPicture::HandNotFound));
    EXPECT_EQ(trap.calls, 0);
    EXPECT_TRUE(machine.dialogs.shown.empty());
}

TEST_F(EditSim, PicturesAreLookedUpInTheWindowsOrder) {
    const auto texts = withEntries(bodyStrings(34), {{2, "b,BODY=../../../etc/passwd"}});   // never looked up
    ASSERT_TRUE(model.open(writeSim("User00001.iff", simFile(texts))));
    std::vector<std::string> asked;
    for (const auto& p : machine.pictures.loaded)
        asked.push_back(platform::fileNameOf(platform::folderOf(p)) + "/" + platform::fileNameOf(p));
    // The sim's own pictures are decoded from its file in memory, never loaded.
    EXPECT_EQ(asked, (std::vector<std::string>{
        "skins/s001fafitlgt_01.bmp", "SkinsBuy/s001fafitlgt_01.bmp", "SkinsBuy/s001fafitlgt_01.bmp",
        "skins/f001fafitlgt_01.bmp", "SkinsBuy/f001fafitlgt_01.bmp", "SkinsBuy/f001fafitlgt_01.bmp",
        "skins/l001fafitlgt_01.bmp", "SkinsBuy/l001fafitlgt_01.bmp", "SkinsBuy/l001fafitlgt_01.bmp",
        "skins/w001fafitlgt_01.bmp", "SkinsBuy/w001fafitlgt_01.bmp", "SkinsBuy/w001fafitlgt_01.bmp",
        "skins/n001fafitlgt_01.bmp",
        "skins/gfao_bride.bmp", "skins/gfao_bride.bmp", "skins/gfao_lgt.bmp", "skins/gfao_lgt.bmp",
        "skins/gfap_lgt.bmp", "skins/gfap_lgt.bmp", "skins/gfac_lgt.bmp", "skins/gfac_lgt.bmp"}));
    EXPECT_EQ(machine.pictures.loaded[1], game / "ExpansionPack3/SkinsBuy/s001fafitlgt_01.bmp");
    EXPECT_EQ(shown(preview(OutfitKind::Normal)), stock(StockPicture::NotFound));
}

TEST_F(EditSim, ASecondSimNeverShowsTheFirstSimsImagesAndAtMostTheBoundAreExported) {
    testkit::IffBuilder crowded = testkit::characterFile();   // the shown three come first
    for (int i = 0; i < 100; ++i)
        crowded.bitmap("photo " + std::to_string(i), static_cast<std::uint16_t>(100 + i), testkit::solidBitmap(1, 1, {}));
    ASSERT_TRUE(model.open(writeSim("User00001.iff", crowded.build())));
    const auto exported = [&] {
        return platform::listFolder(programFolder / "SimPictures", "*", platform::Listing::FilesOnly);
    };
    const auto files = exported();   // photo0 to photo60 between the three
    ASSERT_EQ(files.size(), MostExportedPictures);
    EXPECT_EQ(files.front() + files[62] + files.back(), "faces.BMPrelimages.BMPweb_image.BMP");
    EXPECT_TRUE(model.faces().picture);
    programFolder.write("SimPictures/FACES.bmp", testkit::solidBitmap(2, 2, {}));   // left by anything
    const ByteText webOnly = testkit::IffBuilder()
                                 .chunk("OBJD", 1, "x", "user00002")
                                 .strings(200, bodyStrings(30))
                                 .bitmap("web_image", 1, testkit::solidBitmap(6, 6, {}))
                                 .map()
                                 .build();
    ASSERT_TRUE(model.open(writeSim("User00002.iff", webOnly)));
    EXPECT_EQ(model.webImage().picture->width(), 6);
    EXPECT_EQ(shown(model.faces()), stock(StockPicture::WebNotFound));
    EXPECT_EQ(shown(model.relImages()), stock(StockPicture::NoBitmaps));
    EXPECT_EQ(exported(), std::vector<std::string>{"web_image.BMP"});
    EXPECT_EQ(model.fields().name, "  (user00002)");
}

// Windows ignores the read-only mark on folders.
#ifndef _WIN32
TEST_F(EditSim, AFullOrReadOnlyProgramFolderCostsThePictureFilesNeverThePicturesOrTheProgram) {
    DRAPELINE_RUN_UNPRIVILEGED();
    const std::string path = writeSim("User00001.iff", original);
    neighbourhood::SimBrowser browser(machine.services);
    const auto openAndBrowse = [&] {
        ASSERT_TRUE(model.open(path));
        for (const auto* shownPicture : {&model.webImage(), &model.faces(), &model.relImages()}) {
            ASSERT_TRUE(shownPicture->picture);
            EXPECT_EQ(shownPicture->path, path);   // shown from the character file itself
        }
        const neighbourhood::SimPreview preview = browser.preview(path, "UserData2");
        ASSERT_TRUE(preview.relImages.picture);
        EXPECT_EQ(preview.relImages.picture->width(), 24);
    };
    // Full: every write fails part way, as past a file size limit.
    testkit::withFileSizeLimit(16, openAndBrowse);
    EXPECT_TRUE(fs::is_empty(programFolder / "SimPictures"));

    fs::remove(programFolder / "SimPictures");
    fs::permissions(programFolder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    openAndBrowse();
    fs::permissions(programFolder.path(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(programFolder.path()));
    EXPECT_EQ(trap.calls, 0);
    EXPECT_TRUE(machine.dialogs.shown.empty());
}
#endif

TEST_F(EditSim, AFileThatCanNotBeReadTrapsButOneTooLargeOrAWardrobeThatCanNotBeShownIsRefusedAndTheProgramGoesOn) {
    EXPECT_THROW(model.open(game / "UserData2/Characters/User00009.iff"), ProgramEnded);
    EXPECT_EQ(trap.last.number, 53);
    EXPECT_EQ(trap.last.module, "modIFFsupport");
    EXPECT_EQ(trap.last.procedure, "gsReadIFF");

    const ByteText shortSet = simFile(bodyStrings(12));
    const std::string bad = writeSim("User00001.iff", shortSet);
    EXPECT_FALSE(model.open(bad));
    EXPECT_EQ(trap.calls, 1);   // the unreadable file's only
    EXPECT_EQ(machine.dialogs.shown, (std::vector<Box>{{unshowableMessage("User00001.iff", model.problem()),
                                                        MessageIcon::Exclamation, MessageButtons::Ok,
                                                        machine.dialogs.shown.at(0).title}}));
    EXPECT_EQ(model.problem(), "its wardrobe has only 12 entries, so the swimsuit entry 17 is missing");
    EXPECT_EQ(model.fields(), WardrobeFields{});

    EXPECT_EQ(model.save(true), NotSaved);   // nothing shown, nothing to save
    EXPECT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_TRUE(readWholeFile(bad) == shortSet);
    EXPECT_FALSE(platform::pathExists(programFolder / "Backup"));

    const std::string huge = writeSim("User00003.iff", original);
    fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);   // sparse: never read
    EXPECT_FALSE(model.open(huge));
    EXPECT_EQ(model.problem(), "it is too large to be a character file");
    EXPECT_EQ(machine.dialogs.shown.back().text, unshowableMessage("User00003.iff", model.problem()));
    EXPECT_EQ(trap.calls, 1);

    EXPECT_TRUE(model.open(writeSim("User00002.iff", original)));
    EXPECT_EQ(model.problem(), "");
}

TEST_F(EditSim, AnEmptyNameOrCancellingTheConfirmationWritesNothing) {
    const std::string path = openBella();
    const std::string name = model.fields().name;
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.name.clear(); });   // an empty name saves nothing and asks nothing
    EXPECT_EQ(model.save(true), NotSaved);
    EXPECT_TRUE(machine.dialogs.shown.empty());
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.name = name; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).mesh = "b002mafit_01"; });
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_EQ(model.save(true), NotSaved);
    EXPECT_EQ(machine.dialogs.shown, (std::vector<Box>{{"Make changes to Bella  (user00012)?\r\nAre You Sure?",
                                                        MessageIcon::Question, MessageButtons::YesNo,
                                                        "Confirm Action"}}));
    EXPECT_TRUE(readWholeFile(path) == original);
    EXPECT_FALSE(platform::pathExists(programFolder / "usertemp.iff"));
    EXPECT_FALSE(platform::pathExists(programFolder / "Backup"));

    ASSERT_TRUE(model.open(path));
    EXPECT_EQ(model.fields().outfit(OutfitKind::Normal).mesh, "b001fafitlgt_01");
}

TEST_F(EditSim, SavingWritesOnlyTheWardrobeAndReopeningShowsTheChanges) {
    const std::string path = openBella();
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Winter) = {"w002fafit_01", "w002fafitlgt_01"}; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::FormalRight) = ""; });
    const WardrobeFields saved = model.fields();
    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_EQ(model.save(false), Saved);
    ASSERT_EQ(machine.dialogs.shown.size(), 2u);
    EXPECT_EQ(machine.dialogs.shown[1],
              (Box{"Bella  (user00012) has been saved.\r\nNot stored (the formal hands are kept only as a "
                   "pair): Formal left",
                   MessageIcon::Information, MessageButtons::Ok, "Success"}));
    EXPECT_EQ(model.lastBackup(), "");
    EXPECT_FALSE(platform::pathExists(programFolder / "Backup"));

    // Byte for byte what the writer makes of the original with the two entries changed.
    IffFile expected = parse(original);
    StringSet set = bodySet(expected);
    set.entries[33].text = "w002fafit_01,BODY=w002fafitlgt_01";
    set.entries[27].text = set.entries[30].text;   // the formal shown also goes to entry 28
    set.entries[28].text = "";
    set.entries[29].text = "";
    strings::store(expected, set, WardrobeIdField, false);
    const ByteText written = iff::serialise(expected);
    EXPECT_TRUE(readWholeFile(path) == written);
    EXPECT_TRUE(readWholeFile(programFolder / "usertemp.iff") == written);

    ASSERT_TRUE(model.open(path));
    WardrobeFields reopened = saved;
    reopened.hand(HandSlot::FormalLeft) = "";
    EXPECT_EQ(model.fields(), reopened);
}

TEST_F(EditSim, BackupsKeepEachVersionAsItWasOnDisk) {
    const std::string path = openBella();
    programFolder.write("usertemp.iff", ByteText(300000, 'x'));   // an old, longer temp file
    machine.dialogs.replies = {MessageReply::Yes, MessageReply::Ok, MessageReply::Yes};
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).texture = "b001fafitmed_01"; });
    ASSERT_EQ(model.save(true), Saved);
    const ByteText first = readWholeFile(path);
    const std::string base = "User00001iff_ellauser00012_UserData2_20020330_140507";
    EXPECT_EQ(model.lastBackup(), programFolder / ("Backup/" + base));
    EXPECT_TRUE(readWholeFile(programFolder / "usertemp.iff") == first);

    // Within the same second: a second backup beside the first, never over it.
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).texture = "b001fafitdrk_01"; });
    ASSERT_EQ(model.save(true), Saved);
    EXPECT_EQ(model.lastBackup(), programFolder / ("Backup/" + base + "_2"));
    EXPECT_TRUE(readWholeFile(programFolder / ("Backup/" + base)) == original);
    EXPECT_TRUE(readWholeFile(programFolder / ("Backup/" + base + "_2")) == first);
    EXPECT_FALSE(readWholeFile(path) == first);
}

TEST_F(EditSim, AProgramFolderThatCanNotBeWrittenStopsOnlyTheBackupItWasAskedFor) {
    const std::string path = openBella();
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).mesh = "b002fafat_01"; });

    // No room for the backup folder: the save stops with a message, the file untouched.
    programFolder.write("Backup", "a file, not a folder");
    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_EQ(model.save(true), NotSaved);
    EXPECT_EQ(trap.calls, 0);
    ASSERT_EQ(machine.dialogs.shown.size(), 2u);
    EXPECT_EQ(machine.dialogs.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(machine.dialogs.shown[1].text.rfind("Bella  (user00012) has not been saved: its backup could not be "
                                                  "written in " + (programFolder / "Backup") + " (Error 76", 0), 0u)
        << machine.dialogs.shown[1].text;
    EXPECT_TRUE(readWholeFile(path) == original);

    // Without a backup, a program folder that is gone costs only the copy kept there.
    fs::remove_all(programFolder.path());
    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_EQ(model.save(false), Saved);
    EXPECT_FALSE(readWholeFile(path) == original);
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(EditSim, OutfitsTheFileCanNotHoldAndALoneFormalHandAreNamedAndPlaceholdersNeverStored) {
    const std::string path = writeSim("User00001.iff", simFile(bodyStrings(30)));   // Short: no pajamas, no winter
    ASSERT_TRUE(model.open(path));
    ASSERT_EQ(model.layout(), WardrobeLayout::Short);
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Pajamas) = {"l100fafit_original", "l100fafitlgt_original"}; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Winter).mesh = "w100fafit_original"; });
    // A placeholder in a field the file holds (an old ensemble file, say) is not stored.
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Formal) = {PajamasPlaceholder, PajamasPlaceholder}; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::OpenLeft) = WinterPlaceholder; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Nude).texture = "nffitmed_01"; });
    // "Normal" of the formal hands, then only the left one changed: kept only as a pair.
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::FormalRight) = ""; });
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::FormalLeft) = "gfao_x"; });
    machine.dialogs.replies = {MessageReply::Yes};
    ASSERT_EQ(model.save(false), Saved);
    const std::string line = "\r\nNot stored (this sim's file has no entry for them): Pajamas, Winter"
                             "\r\nNot stored (the formal hands are kept only as a pair): Formal left";
    EXPECT_EQ(machine.dialogs.shown[0].text, "Make changes to Bella  (user00012)?" + line + "\r\nAre You Sure?");
    EXPECT_EQ(machine.dialogs.shown[1].text, "Bella  (user00012) has been saved." + line);

    const std::vector<std::string> written = bodyTexts(readWholeFile(path));
    EXPECT_EQ(written[15], "n001fafitlgt_01,BODY=nffitmed_01");
    EXPECT_EQ(written[28] + written[29], "");
    for (const std::size_t number : {18u, 28u}) EXPECT_EQ(written[number - 1], bodyStrings(30)[number - 1]);
    EXPECT_EQ(readWholeFile(path).find("***"), ByteText::npos);

    // Nothing unstorable changed: the messages stay as they always were.
    ASSERT_TRUE(model.open(path));
    machine.dialogs.shown.clear();
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_EQ(model.save(false), NotSaved);
    EXPECT_EQ(machine.dialogs.shown[0].text, "Make changes to Bella  (user00012)?\r\nAre You Sure?");
}

TEST_F(EditSim, DiscardingAsksOnlyWhenAFieldDiffersFromWhatWasRead) {
    openBella();
    EXPECT_FALSE(model.hasUnsavedChanges());
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.bodyType = BodyType::Fat; });   // a filter for the chooser, never stored
    EXPECT_TRUE(model.confirmDiscard());
    EXPECT_TRUE(machine.dialogs.shown.empty());

    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::PointRight) = "other"; });
    EXPECT_TRUE(model.hasUnsavedChanges());
    machine.dialogs.replies = {MessageReply::No, MessageReply::Yes};
    EXPECT_FALSE(model.confirmDiscard());
    EXPECT_TRUE(model.confirmDiscard());
    ASSERT_EQ(machine.dialogs.shown.size(), 2u);
    EXPECT_EQ(machine.dialogs.shown[0], (Box{"Discard your changes to Bella  (user00012)?", MessageIcon::Question,
                                             MessageButtons::YesNoKeepByDefault, "Confirm Action"}));

    // Changed back by hand: nothing to lose.
    model.changeFields([&](wardrobe::WardrobeFields& f) { f.hand(HandSlot::PointRight) = model.fields().hand(HandSlot::PointLeft); });
    EXPECT_FALSE(model.hasUnsavedChanges());
}

// Another program (the game, a second Drapeline) writes the file while the window has it
// open: Save must not silently put the old wardrobe back over that change.
TEST_F(EditSim, AFileChangedSinceOpeningIsOverwrittenReloadedOrLeftAsTheUserSays) {
    const IffFile theirs = [&] {
        IffFile iff = parse(original);
        StringSet set = bodySet(iff);
        set.entries[entry::Winter - 1].text = "w777fafit_CLI,BODY=w777fafitlgt_CLI";
        strings::store(iff, set, WardrobeIdField, false);
        return iff;
    }();
    IffFile copy = theirs;
    const ByteText changed = iff::serialise(copy);
    const std::string question =
        "Bella  (user00012)'s file was changed by another program, perhaps the game, since you opened it.";
    struct Case {
        std::vector<MessageReply> replies;
        EditSimModel::SaveOutcome outcome;
        bool oursOnDisk;
    };
    const Case cases[] = {
        {{MessageReply::Yes, MessageReply::Cancel}, EditSimModel::SaveOutcome::ChangedOnDisk, false},
        {{MessageReply::Yes, MessageReply::Overwrite, MessageReply::Ok}, Saved, true},
        {{MessageReply::Yes, MessageReply::Reload, MessageReply::No}, NotSaved, false},
        {{MessageReply::Yes, MessageReply::Reload, MessageReply::Yes}, EditSimModel::SaveOutcome::Reloaded, false},
    };
    for (const auto& c : cases) {
        const std::string path = openBella();
        model.changeFields([&](wardrobe::WardrobeFields& f) { f.outfit(OutfitKind::Normal).mesh = "b002fafat_01"; });
        writeSim("User00001.iff", changed);
        machine.dialogs.shown.clear();
        machine.dialogs.replies = {c.replies.begin(), c.replies.end()};
        machine.services.gameRunning = [] { return true; };

        EXPECT_EQ(model.save(false), c.outcome);
        ASSERT_GE(machine.dialogs.shown.size(), 2u);
        EXPECT_EQ(machine.dialogs.shown[0].text, "Make changes to Bella  (user00012)?\r\n" +
                                                     std::string(platform::GameRunningNotice) +
                                                     "\r\nAre You Sure?");
        EXPECT_EQ(machine.dialogs.shown[1], (Box{question, MessageIcon::Question,
                                                 MessageButtons::OverwriteReloadCancel, "Confirm Action"}));
        const ByteText now = readWholeFile(path);
        const WardrobeFields onDisk = readFields(parse(now), bodySet(parse(now)));
        EXPECT_EQ(onDisk.outfit(OutfitKind::Winter).mesh, c.oursOnDisk ? "w001fafitlgt_01" : "w777fafit_CLI");
        EXPECT_EQ(onDisk.outfit(OutfitKind::Normal).mesh == "b002fafat_01", c.oursOnDisk);
        // Overwriting keeps what the other program wrote in a backup, backups off or not.
        EXPECT_EQ(model.lastBackup().empty(), !c.oursOnDisk);
        if (c.oursOnDisk) {
            EXPECT_TRUE(readWholeFile(model.lastBackup()) == changed);
        }
        if (c.outcome == EditSimModel::SaveOutcome::Reloaded) {
            EXPECT_EQ(model.fields().outfit(OutfitKind::Winter).mesh, "w777fafit_CLI");
        }
        machine.services.gameRunning = {};
    }
}
