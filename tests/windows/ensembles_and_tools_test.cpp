// Ensembles through the edit window and the neighbourhood tools through the main
// window's Tools menu, on the offscreen platform and the demo game.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/file_io.h"
#include "demo/demo_game.h"
#include "app/windows/frm_enx.h"
#include "app/windows/frm_main.h"
#include "platform/files.h"
#include "platform/qt/qt_pictures.h"
#include "tests/support/doubles.h"
#include "tests/windows/window_test_support.h"
#include "tests/support/temp_folder.h"
#include "app/windows/frm_edit_sim.h"

using namespace drapeline;
using testkit::child;
using testkit::text;
using platform::MessageReply;

class EnsemblesAndToolsTest : public QObject {
    Q_OBJECT

private:
    testkit::TempFolder programFolder;
    testkit::TempFolder game;
    std::unique_ptr<testkit::QtMachine> machine;
    std::string gameLocation;

    std::unique_ptr<wardrobe::frmEditSim> open(const char* relative) {
        return testkit::openEditor(*machine, gameLocation, platform::resolvePath(gameLocation, relative));
    }

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        gameLocation = game.path();
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
        platform::createFolder(platform::joinPath(programFolder.path(), "ENX"));
    }

    void anEnsembleSavedFromOneSimDressesAnother() {
        auto rosa = open("UserData/Characters/User00009.iff");
        testkit::whenShown<ensembles::frmENX>([](ensembles::frmENX* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Save Ensemble File:"));
            QCOMPARE(child<QPushButton>(window, "cmdSaveLoad")->text(), QStringLiteral("Save"));
            child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("party"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
        });
        child<QPushButton>(rosa.get(), "cmdEnsSave")->click();
        QVERIFY(platform::fileExists(platform::joinPath(platform::joinPath(programFolder.path(), "ENX"), "party.ENX")));

        auto other = open("UserData/Characters/User00014.iff");
        testkit::whenShown<ensembles::frmENX>([](ensembles::frmENX* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Load Ensemble File:"));
            auto* list = child<QListWidget>(window, "flbENX");
            QCOMPARE(list->count(), 1);
            emit list->itemClicked(list->item(0));
            QCOMPARE(text(window, "txtFileName"), QStringLiteral("party.ENX"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
        });
        child<QPushButton>(other.get(), "cmdEnsLoad")->click();
        for (const char* field : {"txtNormalBody", "txtNormalSkin", "txtFormalBody", "txtHandOpenLeft",
                                  "txtWinterSkin"})
            QCOMPARE(text(other.get(), field), text(rosa.get(), field));
    }

    void anUnsafeNameIsRefusedAndTheWindowStays() {
        auto rosa = open("UserData/Characters/User00009.iff");
        machine->dialogs.shown.clear();
        bool stayed = false;
        testkit::whenShown<ensembles::frmENX>([&](ensembles::frmENX* window) {
            child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("../../escape"));
            child<QPushButton>(window, "cmdSaveLoad")->click();
            stayed = window->isVisible();
            child<QPushButton>(window, "cmdCancel")->click();
        });
        child<QPushButton>(rosa.get(), "cmdEnsSave")->click();
        QVERIFY(stayed);
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine->dialogs.shown[0].icon, platform::MessageIcon::Exclamation);
    }

    void theToolsMenuRepairsTheNeighbourhoodAndReportsSkippedFiles() {
        std::string location;
        neighbourhood::frmMain main(machine->services, location, gameLocation);
        main.model().Form_Activate();
        main.model().lstUserDataDir_Click("Neighborhood 02   (UserData2)");

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        main.findChild<QAction*>(QStringLiteral("smenuPinkHands"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(2));
        QCOMPARE(machine->dialogs.shown[0].title, std::string("Confirm Action"));
        QCOMPARE(machine->dialogs.shown[1].title, std::string("Success"));
        const std::string& done = machine->dialogs.shown[1].text;
        QVERIFY(done.rfind("Operation Complete", 0) == 0);
        QVERIFY(done.find("Skipped:\r\nUser00013.iff") != std::string::npos);   // the unreadable sim

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::No};
        main.findChild<QAction*>(QStringLiteral("smenuFix"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));

        machine->dialogs.shown.clear();
        main.findChild<QAction*>(QStringLiteral("smenuExport"))->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine->dialogs.shown[0].title, std::string("Export Complete"));
        const ByteText body = readWholeFile(platform::joinPath(programFolder.path(), "bodyskins.txt"));
        QVERIFY(body.find("User00001.iff;") == 0);
        QVERIFY(body.find("User00013.iff") == std::string::npos);
        main.closeWithoutAsking();
    }
};

QTEST_MAIN(EnsemblesAndToolsTest)
#include "ensembles_and_tools_test.moc"
