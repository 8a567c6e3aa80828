// Ensembles through the edit window, the neighbourhood tools through the main window's
// menus, and the ways back (the edit window's question before unsaved changes are
// lost, the restore window of the File menu), on the offscreen platform and the demo game.

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTreeWidget>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "core/file_io.h"
#include "demo/demo_game.h"
#include "demo/roster.h"
#include "app/windows/frm_enx.h"
#include "app/windows/frm_main.h"
#include "app/windows/frm_restore.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;
using testkit::child;
using testkit::text;
using platform::MessageReply;

class EnsemblesAndToolsTest : public testkit::WindowTest {
    Q_OBJECT

private:
    std::unique_ptr<app::frmEditSim> open(const char* relative) {
        return testkit::openEditor(*machine, session, platform::resolvePath(session.gameFolder(), relative));
    }
    std::string simPath(const char* name) const {
        return platform::resolvePath(session.gameFolder(), std::string("UserData/Characters/") + name);
    }

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        session.setGameFolder(game.path());
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
        platform::createFolder(platform::joinPath(programFolder.path(), "ENX"));
    }

    void anEnsembleSavedFromOneSimDressesAnother() {
        auto rosa = open("UserData/Characters/User00009.iff");
        testkit::whenShown<app::frmENX>([](app::frmENX* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Save Ensemble File:"));
            QCOMPARE(child<QPushButton>(window, "cmdSaveLoad")->text(), QStringLiteral("&Save"));
            child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("party"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
        });
        child<QPushButton>(rosa.get(), "cmdEnsSave")->click();
        QVERIFY(platform::fileExists(platform::joinPath(platform::joinPath(programFolder.path(), "ENX"), "party.ENX")));

        auto other = open("UserData/Characters/User00014.iff");
        testkit::whenShown<app::frmENX>([](app::frmENX* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Load Ensemble File:"));
            auto* list = child<QListWidget>(window, "flbENX");
            QCOMPARE(list->count(), 1);
            QTest::keyClick(list, Qt::Key_Down);   // the arrow keys choose, Enter loads
            QCOMPARE(text(window, "txtFileName"), QStringLiteral("party.ENX"));
            QTest::keyClick(list, Qt::Key_Return);
        });
        child<QPushButton>(other.get(), "cmdEnsLoad")->click();
        for (const char* field : {"txtNormalBody", "txtNormalSkin", "txtFormalBody", "txtHandOpenLeft",
                                  "txtWinterSkin"})
            QCOMPARE(text(other.get(), field), text(rosa.get(), field));

        // A file that is no ensemble is refused naming its line; the fields keep what they had.
        const ByteText party = readWholeFile(programFolder / "ENX/party.ENX");
        programFolder.write("ENX/hostile.ENX", "root:x:0:0:root:/root:/bin/bash" + party.substr(party.find("\r\n")));
        const QString normalBefore = text(other.get(), "txtNormalBody");
        testkit::whenShown<app::frmENX>([](app::frmENX* window) {
            child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("hostile"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
            window->reject();
        });
        child<QPushButton>(other.get(), "cmdEnsLoad")->click();
        QCOMPARE(machine->dialogs.shown.back().text,
                 "The ensemble file " + programFolder / "ENX/hostile.ENX" +
                     " can not be loaded: line 1 holds \"/\", which no name may hold. No field has been changed.");
        QCOMPARE(text(other.get(), "txtNormalBody"), normalBefore);
    }

    // The demo sim with textures of another tone than its skin: its own outfits, saved and
    // loaded again, bring the question; No keeps the ensemble's textures, Yes the sim's tone.
    void loadingAnEnsembleOfAnotherSkinToneOffersTheSimsOwn() {
        demo::SimPlan sim;
        for (const auto& s : demo::demoRoster())
            if (std::find(s.faults.begin(), s.faults.end(), "skin-tone") != s.faults.end()) sim = s;
        QVERIFY(!sim.fileName.empty());
        auto editor = testkit::openEditor(
            *machine, session,
            platform::resolvePath(session.gameFolder(), sim.neighbourhood + "/Characters/" + sim.fileName));
        const QString ensembleHand = text(editor.get(), "txtHandOpenRight");
        QVERIFY(!ensembleHand.endsWith(QString::fromStdString(sim.tone)));
        testkit::whenShown<app::frmENX>([](app::frmENX* window) {
            child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("tones"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
        });
        child<QPushButton>(editor.get(), "cmdEnsSave")->click();

        const auto load = [&](MessageReply reply) {
            machine->dialogs.shown.clear();
            machine->dialogs.replies = {reply};
            testkit::whenShown<app::frmENX>([](app::frmENX* window) {
                child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("tones"));
                child<QPushButton>(window, "cmdSaveLoad")->click();
            });
            child<QPushButton>(editor.get(), "cmdEnsLoad")->click();
            QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
            const std::string& question = machine->dialogs.shown[0].text;
            QVERIFY2(question.rfind("The ensemble has 3 textures of another skin tone than this sim's ", 0) == 0,
                     question.c_str());
        };
        load(MessageReply::No);
        QCOMPARE(text(editor.get(), "txtHandOpenRight"), ensembleHand);
        load(MessageReply::Yes);
        QVERIFY2(text(editor.get(), "txtHandOpenRight").endsWith(QString::fromStdString(sim.tone)),
                 qPrintable(text(editor.get(), "txtHandOpenRight")));
        QVERIFY(text(editor.get(), "txtHandOpenRight") != ensembleHand);
    }

    // Runs after the ensemble above was saved, so a file is listed that must not be offered.
    void theSaveWindowStartsInItsEmptyNameBoxAndKeepsAFileUnlessToldOtherwise() {
        auto rosa = open("UserData/Characters/User00009.iff");
        machine->dialogs.shown.clear();
        testkit::whenShown<app::frmENX>([&](app::frmENX* window) {
            auto* name = child<QLineEdit>(window, "txtFileName");
            QTRY_COMPARE(QApplication::focusWidget(), name);   // Windows gives it a moment later
            QCOMPARE(name->text(), QString());
            QCOMPARE(child<QLabel>(window, "lblFileName")->buddy(), name);
            QTest::keyClick(name, Qt::Key_Return);   // nothing typed: told so, and back in the box
            QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
            QCOMPARE(QApplication::focusWidget(), name);
            QTest::keyClicks(name, QStringLiteral("PARTY"));
            QTest::keyClick(name, Qt::Key_Return);   // the question keeps the file by default
            QCOMPARE(machine->dialogs.shown.at(1).buttons, platform::MessageButtons::YesNoKeepByDefault);
            child<QPushButton>(window, "cmdCancel")->click();
        });
        child<QPushButton>(rosa.get(), "cmdEnsSave")->click();
    }

    void theMenusRepairTheNeighbourhoodReportSkippedFilesAndOfferRestore() {
        shell::GameSession location;
        app::frmMain main(machine->services, location, session.gameFolder());
        main.model().activate();
        main.model().chooseNeighbourhood("Neighborhood 02   (UserData2)");

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        main.findChild<QAction*>(QStringLiteral("smenuPinkHands"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(2));
        QCOMPARE(machine->dialogs.shown[0].title, std::string("Confirm Action"));
        QCOMPARE(machine->dialogs.shown[1].title, std::string("Success"));
        const std::string& done = machine->dialogs.shown[1].text;
        QVERIFY(done.rfind("Operation Complete\r\n\r\nChanged: ", 0) == 0);
        // "Create Backup File" is checked on a first start: each changed file was backed up.
        QVERIFY(!platform::listFolder(platform::joinPath(programFolder.path(), "Backup"), "*",
                                      platform::Listing::FilesOnly).empty());
        QVERIFY(done.find("Skipped:\r\nUser00013.iff") != std::string::npos);   // the unreadable sim

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::No};
        main.findChild<QAction*>(QStringLiteral("smenuFix"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));

        machine->dialogs.shown.clear();
        main.findChild<QAction*>(QStringLiteral("smenuExport"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine->dialogs.shown[0].title, std::string("Export Complete"));
        QVERIFY(platform::fileExists(platform::joinPath(programFolder.path(), "bodyskins.txt")));
        QCOMPARE(main.findChild<QAction*>(QStringLiteral("smenuRestore"))->text(),
                 QStringLiteral("&Restore Backup ..."));
        main.closeWithoutAsking();
    }

    // When to ask is the EditSim model's rule; here every way out of the window asks it.
    void cancelEscapeAndCloseAskBeforeChangesAreLost() {
        auto editor = testkit::openEditor(*machine, session, simPath("User00002.iff"));
        editor->show();
        machine->dialogs.shown.clear();
        // Changed through the model: the window redraws itself, title included.
        editor->model().changeFields([](wardrobe::WardrobeFields& f) { f.hand(wardrobe::HandSlot::ClosedRight) = "another"; });
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Wardrobe *"));
        machine->dialogs.replies = {MessageReply::No, MessageReply::No, MessageReply::Yes};
        child<QPushButton>(editor.get(), "cmdCancel")->click();
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor.get(), Qt::Key_Escape);
        QVERIFY(editor->isVisible());
        editor->close();
        QVERIFY(!editor->isVisible());
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(3));
        QCOMPARE(machine->dialogs.shown[2].text, std::string("Discard your changes to Yara  (user00002)?"));
    }

    void theRestoreWindowListsTheSelectedSimsBackupsAndPutsOneBack() {
        const std::string path = simPath("User00002.iff");
        const ByteText original = readWholeFile(path);
        const std::string first = wardrobe::makeUserBackup(programFolder.path(), path, "Yara  (user00002)",
                                                           machine->clock.now());
        wardrobe::makeUserBackup(programFolder.path(), simPath("User00005.iff"), "Nils  (user00005)",
                                 machine->clock.now());
        game.write("UserData/Characters/User00002.iff", "no longer a character file");

        app::frmRestore window(machine->services, session, path, nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("Restore Backup"));
        QCOMPARE(child<QLabel>(&window, "lblBackups")->text(), QStringLiteral("Backups of User00002.iff (UserData)"));
        auto* list = child<QTreeWidget>(&window, "lstBackups");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("2002-03-30 14:05:07"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("User00002.iff"));
        child<QCheckBox>(&window, "chkAllSims")->setChecked(true);
        QVERIFY(list->topLevelItemCount() >= 2);
        child<QCheckBox>(&window, "chkAllSims")->setChecked(false);

        // It keeps its size as its least and gives a larger one to the list; the place the
        // user left it is where the next one opens, unless that is on no screen.
        QCOMPARE(window.minimumSize(), QSize(620, 400));
        window.show();
        window.setGeometry(20, 30, 700, 520);
        QApplication::processEvents();
        QVERIFY(list->height() > 320 + 100);
        window.hide();
        {
            app::frmRestore again(machine->services, session, path, nullptr);
            QCOMPARE(again.geometry(), QRect(20, 30, 700, 520));
            machine->settings.setValue("Window frmRestore", "90000 90000 820 560");
            app::frmRestore offScreen(machine->services, session, path, nullptr);
            QCOMPARE(offScreen.size(), QSize(620, 400));
        }

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        child<QPushButton>(&window, "cmdRestore")->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(readWholeFile(path), original);
        QCOMPARE(readWholeFile(first), original);
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(2));
        QCOMPARE(machine->dialogs.shown[1].title, std::string("Success"));
    }
};

QTEST_MAIN(EnsemblesAndToolsTest)
#include "ensembles_and_tools_test.moc"
