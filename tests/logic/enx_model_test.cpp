#include <gtest/gtest.h>

#include "core/file_io.h"
#include "ensembles/ensemble_file.h"
#include "ensembles/enx_model.h"
#include "platform/files.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::ensembles;
using platform::MessageIcon;
using platform::MessageReply;
using wardrobe::OutfitKind;
using wardrobe::WardrobeFields;

namespace {

WardrobeFields dressed(const std::string& tag) {
    WardrobeFields f;
    for (auto& o : f.outfits) o = {tag + " mesh", tag + " texture"};
    for (auto& h : f.hands) h = tag + " hand";
    return f;
}

class Enx : public wardrobe_fixtures::GameFolders {
protected:
    WardrobeFields fields = dressed("sim");
    EnxModel model{machine.services, fields, wardrobe::WardrobeLayout::Long, EnsembleMode::Load};
    testkit::TrapRecorder trap;

    std::string enx(const std::string& name) const { return programFolder / ("ENX/" + name); }
    std::string put(const std::string& name, const WardrobeFields& f) const {
        return programFolder.write("ENX/" + name, ensembleText(f));
    }
    const testkit::ScriptedDialogs::Box& lastBox() const { return machine.dialogs.shown.back(); }
};

}  // namespace

TEST_F(Enx, SaveWritesTheNamedFileAndAsksBeforeOverwriting) {
    model.setMode(EnsembleMode::Save);
    EXPECT_EQ(model.caption(), "Save Ensemble File:");
    EXPECT_EQ(model.actionCaption(), "Save");
    EXPECT_TRUE(model.files().empty());   // the folder is made when it is missing

    EXPECT_FALSE(model.saveOrLoad());   // no name: said, nothing written
    EXPECT_EQ(lastBox().text, "Type a name for the ensemble file in the File name box.");
    machine.dialogs.shown.clear();
    model.setFileName("set1");
    EXPECT_TRUE(model.saveOrLoad());
    EXPECT_EQ(model.fileName(), "set1.ENX");
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(fields));
    EXPECT_TRUE(machine.dialogs.shown.empty());

    // Another spelling of an existing name is the same file, as on Windows.
    EnxModel other{machine.services, dressed("other"), wardrobe::WardrobeLayout::Long, EnsembleMode::Save};
    other.setFileName("SET1.enx");
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_FALSE(other.saveOrLoad());
    EXPECT_EQ(lastBox(), (testkit::ScriptedDialogs::Box{"Overwrite file " + enx("set1.ENX"), MessageIcon::Question,
                                                         platform::MessageButtons::YesNoKeepByDefault,
                                                         "Confirm Action"}));
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(dressed("sim")));

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(other.saveOrLoad());
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(dressed("other")));
    EXPECT_EQ(model.files(), std::vector<std::string>{"set1.ENX"});

    // A failed save is a message, not the error trap.
    programFolder.makeFolder("ENX/taken.ENX");   // a folder where the file should go
    machine.dialogs.replies = {MessageReply::Yes};
    model.setFileName("taken");
    EXPECT_FALSE(model.saveOrLoad());
    EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
    EXPECT_NE(lastBox().text.find("could not be written"), std::string::npos);
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(Enx, LoadReadsTheSelectedEntryOrAnExistingTypedName) {
    EXPECT_EQ(model.caption(), "Load Ensemble File:");
    EXPECT_EQ(model.actionCaption(), "Load");
    put("party.enx", dressed("party"));
    put("work.ENX", dressed("work"));

    model.chooseFile("party.enx");
    EXPECT_EQ(model.fileName(), "party.enx");
    model.setFileName("work");   // the selection decides, not the typed name
    EXPECT_TRUE(model.saveOrLoad());
    EXPECT_EQ(model.fileName(), "work.ENX");
    EXPECT_EQ(model.fields(), dressed("party"));

    model.setSelectedEntry("");
    model.setFileName("WORK");
    EXPECT_TRUE(model.saveOrLoad());
    EXPECT_EQ(model.fields(), dressed("work"));

    model.setFileName("nothing");   // no entry and no such file: said, the window stays open
    EXPECT_FALSE(model.saveOrLoad());
    model.setFileName("");
    EXPECT_FALSE(model.saveOrLoad());
    EXPECT_EQ(model.fields(), dressed("work"));
    ASSERT_EQ(machine.dialogs.shown.size(), 2u);
    EXPECT_EQ(machine.dialogs.shown[0].text.rfind("There is no ensemble file nothing.ENX in ", 0), 0u);
    EXPECT_EQ(machine.dialogs.shown[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(machine.dialogs.shown[1].text, "Choose an ensemble file in the list, or type its name in the File name box.");
}

TEST_F(Enx, ABadEnsembleIsReportedAndNoFieldChanges) {
    const ByteText twenty = ensembleText(dressed("x"));
    programFolder.write("ENX/short.ENX", twenty.substr(0, twenty.size() - sizeof("x texture\r\n") + 1));
    // gone.ENX was listed, then deleted by someone else before Load was pressed.

    for (const std::string name : {"short.ENX", "gone.ENX"}) {
        model.chooseFile(name);
        EXPECT_FALSE(model.saveOrLoad()) << name;
        EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
        EXPECT_EQ(lastBox().text.rfind("The ensemble file " + enx(name) + " can not be loaded: ", 0), 0u)
            << lastBox().text;
        EXPECT_EQ(model.fields(), dressed("sim"));
    }
    EXPECT_NE(machine.dialogs.shown[0].text.find("19 lines"), std::string::npos);
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(Enx, DeleteTakesTheNameExactlyAsTypedAndAsks) {
    put("set1.ENX", dressed("a"));
    model.setFileName("set1");   // not the file's full name: nothing, no question
    EXPECT_FALSE(model.deleteChosen());
    EXPECT_TRUE(machine.dialogs.shown.empty());

    model.chooseFile("set1.ENX");
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_FALSE(model.deleteChosen());
    EXPECT_EQ(lastBox().text, "Delete file " + enx("set1.ENX"));
    EXPECT_TRUE(platform::fileExists(enx("set1.ENX")));

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.deleteChosen());
    EXPECT_FALSE(platform::fileExists(enx("set1.ENX")));
    EXPECT_EQ(model.fileName(), "");
    EXPECT_EQ(model.selectedEntry(), "");
}

TEST_F(Enx, UnsafeNamesAreRefusedForSaveLoadAndDelete) {
    const std::string outside = programFolder.write("victim.ENX", "keep");
    programFolder.write("ENX/keep.ENX", "keep");
    // Which names are unsafe is the ensemble file's rule; here each operation applies it.
    for (const EnsembleMode mode : {EnsembleMode::Save, EnsembleMode::Load}) {
        model.setMode(mode);
        model.setSelectedEntry("");
        model.setFileName("../victim.ENX");
        machine.dialogs.replies = {MessageReply::Yes, MessageReply::Yes};
        EXPECT_FALSE(model.saveOrLoad());
        model.setFileName("..\\victim");
        EXPECT_FALSE(model.deleteChosen());
    }
    ASSERT_EQ(machine.dialogs.shown.size(), 4u);
    for (const auto& box : machine.dialogs.shown) {
        EXPECT_EQ(box.icon, MessageIcon::Exclamation);
        EXPECT_NE(box.text.find("can not be used"), std::string::npos);
    }
    // A list entry handed over by the window is held to the same rule.
    model.setMode(EnsembleMode::Load);
    model.setSelectedEntry("../victim.ENX");
    model.setFileName("keep.ENX");
    EXPECT_FALSE(model.saveOrLoad());
    EXPECT_EQ(readWholeFile(outside), "keep");
    EXPECT_EQ(readWholeFile(enx("keep.ENX")), "keep");
    EXPECT_EQ(model.fields(), dressed("sim"));
}
