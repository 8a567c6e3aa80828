#include <gtest/gtest.h>

#include "core/file_io.h"
#include "ensembles/ensemble_file.h"
#include "ensembles/enx_model.h"
#include "platform/files.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

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

class Enx : public ::testing::Test {
protected:
    testkit::TempFolder program;
    testkit::FakeMachine machine{program.path()};
    WardrobeFields fields = dressed("sim");
    EnxModel model{machine.services, fields, wardrobe::WardrobeLayout::Long};
    testkit::TrapRecorder trap;

    std::string enx(const std::string& name) const { return program / ("ENX/" + name); }
    std::string put(const std::string& name, const WardrobeFields& f) const {
        return program.write("ENX/" + name, ensembleText(f));
    }
    const testkit::ScriptedDialogs::Box& lastBox() const { return machine.dialogs.shown.back(); }
};

}  // namespace

TEST_F(Enx, SaveWritesTheNamedFileAndAsksBeforeOverwriting) {
    model.Mode = 1;
    EXPECT_EQ(model.caption(), "Save Ensemble File:");
    EXPECT_EQ(model.actionCaption(), "Save");
    EXPECT_TRUE(model.files().empty());   // the folder is made when it is missing

    EXPECT_FALSE(model.cmdSaveLoad_Click());   // no name: nothing
    model.txtFileName = "set1";
    EXPECT_TRUE(model.cmdSaveLoad_Click());
    EXPECT_EQ(model.txtFileName, "set1.ENX");
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(fields));
    EXPECT_TRUE(machine.dialogs.shown.empty());

    // Another spelling of an existing name is the same file, as on Windows.
    fields = dressed("other");
    model.txtFileName = "SET1.enx";
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_FALSE(model.cmdSaveLoad_Click());
    EXPECT_EQ(lastBox().text, "Overwrite file " + enx("set1.ENX"));
    EXPECT_EQ(lastBox().icon, MessageIcon::Question);
    EXPECT_EQ(lastBox().title, "Confirm Action");
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(dressed("sim")));

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.cmdSaveLoad_Click());
    EXPECT_EQ(readWholeFile(enx("set1.ENX")), ensembleText(dressed("other")));
    EXPECT_EQ(model.files(), std::vector<std::string>{"set1.ENX"});
}

TEST_F(Enx, SaveFailureIsAMessageNotTheErrorTrap) {
    model.Mode = 1;
    program.makeFolder("ENX/taken.ENX");   // a folder where the file should go
    machine.dialogs.replies = {MessageReply::Yes};
    model.txtFileName = "taken";
    EXPECT_FALSE(model.cmdSaveLoad_Click());
    EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
    EXPECT_NE(lastBox().text.find("could not be written"), std::string::npos);
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(Enx, LoadReadsTheSelectedEntryOrAnExistingTypedName) {
    EXPECT_EQ(model.caption(), "Load Ensemble File:");
    EXPECT_EQ(model.actionCaption(), "Load");
    put("party.enx", dressed("party"));
    put("work.ENX", dressed("work"));

    model.flbENX_Click("party.enx");
    EXPECT_EQ(model.txtFileName, "party.enx");
    model.txtFileName = "work";   // the selection decides, not the typed name
    EXPECT_TRUE(model.cmdSaveLoad_Click());
    EXPECT_EQ(model.txtFileName, "work.ENX");
    EXPECT_EQ(fields, dressed("party"));

    model.selectedEntry.clear();
    model.txtFileName = "WORK";
    EXPECT_TRUE(model.cmdSaveLoad_Click());
    EXPECT_EQ(fields, dressed("work"));

    model.txtFileName = "nothing";   // no entry and no such file: said, the window stays open
    EXPECT_FALSE(model.cmdSaveLoad_Click());
    EXPECT_EQ(fields, dressed("work"));
    ASSERT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_EQ(machine.dialogs.shown[0].text.rfind("There is no ensemble file nothing.ENX in ", 0), 0u);
    EXPECT_EQ(machine.dialogs.shown[0].icon, platform::MessageIcon::Exclamation);
}

TEST_F(Enx, ABadEnsembleIsReportedAndNoFieldChanges) {
    const ByteText twenty = ensembleText(dressed("x"));
    program.write("ENX/short.ENX", twenty.substr(0, twenty.size() - sizeof("x texture\r\n") + 1));
    // gone.ENX was listed, then deleted by someone else before Load was pressed.

    for (const std::string name : {"short.ENX", "gone.ENX"}) {
        model.flbENX_Click(name);
        EXPECT_FALSE(model.cmdSaveLoad_Click()) << name;
        EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
        EXPECT_EQ(lastBox().text.rfind("The ensemble file " + enx(name) + " can not be loaded: ", 0), 0u)
            << lastBox().text;
        EXPECT_EQ(fields, dressed("sim"));
    }
    EXPECT_NE(machine.dialogs.shown[0].text.find("19 lines"), std::string::npos);
    EXPECT_EQ(trap.calls, 0);
}

TEST_F(Enx, DeleteTakesTheNameExactlyAsTypedAndAsks) {
    put("set1.ENX", dressed("a"));
    model.txtFileName = "set1";   // not the file's full name: nothing, no question
    EXPECT_FALSE(model.cmdDelete_Click());
    EXPECT_TRUE(machine.dialogs.shown.empty());

    model.flbENX_Click("set1.ENX");
    machine.dialogs.replies = {MessageReply::No};
    EXPECT_FALSE(model.cmdDelete_Click());
    EXPECT_EQ(lastBox().text, "Delete file " + enx("set1.ENX"));
    EXPECT_TRUE(platform::fileExists(enx("set1.ENX")));

    machine.dialogs.replies = {MessageReply::Yes};
    EXPECT_TRUE(model.cmdDelete_Click());
    EXPECT_FALSE(platform::fileExists(enx("set1.ENX")));
    EXPECT_EQ(model.txtFileName, "");
    EXPECT_EQ(model.selectedEntry, "");
}

TEST_F(Enx, UnsafeNamesAreRefusedForSaveLoadAndDelete) {
    const std::string outside = program.write("victim.ENX", "keep");
    program.write("ENX/keep.ENX", "keep");
    for (const int mode : {1, 2}) {
        for (const std::string name : {"../victim.ENX", "..\\victim", "*.ENX", "C:victim"}) {
            model.Mode = mode;
            model.selectedEntry.clear();
            model.txtFileName = name;
            machine.dialogs.replies = {MessageReply::Yes, MessageReply::Yes};
            const auto before = machine.dialogs.shown.size();
            EXPECT_FALSE(model.cmdSaveLoad_Click()) << name;
            model.txtFileName = name;
            EXPECT_FALSE(model.cmdDelete_Click()) << name;
            ASSERT_EQ(machine.dialogs.shown.size(), before + 2) << name;
            for (auto i = before; i < before + 2; ++i) {
                EXPECT_EQ(machine.dialogs.shown[i].icon, MessageIcon::Exclamation);
                EXPECT_NE(machine.dialogs.shown[i].text.find("can not be used"), std::string::npos);
            }
        }
    }
    // A list entry handed over by the window is held to the same rule.
    model.Mode = 2;
    model.selectedEntry = "../victim.ENX";
    model.txtFileName = "keep.ENX";
    EXPECT_FALSE(model.cmdSaveLoad_Click());
    EXPECT_EQ(readWholeFile(outside), "keep");
    EXPECT_EQ(readWholeFile(enx("keep.ENX")), "keep");
    EXPECT_EQ(fields, dressed("sim"));
}
