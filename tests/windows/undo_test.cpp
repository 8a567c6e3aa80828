// The ways back in the windows: the edit window's question before unsaved changes are
// lost, and the restore window of the File menu, on the offscreen platform and the demo
// game.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "core/file_io.h"
#include "demo/demo_game.h"
#include "app/windows/frm_main.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/window_test_support.h"
#include "app/windows/frm_restore.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using platform::MessageReply;
using testkit::child;

class UndoTest : public QObject {
    Q_OBJECT

private:
    testkit::TempFolder programFolder;
    testkit::TempFolder game;
    std::unique_ptr<testkit::QtMachine> machine;
    std::string gameLocation;

    std::string sim(const char* name) const {
        return platform::resolvePath(gameLocation, std::string("UserData/Characters/") + name);
    }

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        gameLocation = game.path();
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
    }

    void cancelAsksOnlyWhenAFieldChanged() {
        auto editor = testkit::openEditor(*machine, gameLocation, sim("User00002.iff"));
        editor->show();
        machine->dialogs.shown.clear();
        child<QPushButton>(editor.get(), "cmdCancel")->click();
        QVERIFY(!editor->isVisible());
        QVERIFY(machine->dialogs.shown.empty());

        editor = testkit::openEditor(*machine, gameLocation, sim("User00002.iff"));
        editor->show();
        editor->model().fields.hand(wardrobe::HandSlot::ClosedRight) = "another";
        editor->showModel();
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Wardrobe *"));
        machine->dialogs.replies = {MessageReply::No, MessageReply::No, MessageReply::Yes};
        child<QPushButton>(editor.get(), "cmdCancel")->click();
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor.get(), Qt::Key_Escape);
        QVERIFY(editor->isVisible());
        editor->close();
        QVERIFY(!editor->isVisible());
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(3));
        for (const auto& box : machine->dialogs.shown) {
            QCOMPARE(box.text, std::string("Discard your changes to Yara  (user00002)?"));
            QCOMPARE(box.icon, platform::MessageIcon::Question);
            QCOMPARE(box.buttons, platform::MessageButtons::YesNo);
        }
    }

    void theRestoreWindowListsTheSelectedSimsBackupsAndPutsOneBack() {
        const std::string path = sim("User00002.iff");
        const ByteText original = readWholeFile(path);
        const std::string first = wardrobe::makeUserBackup(programFolder.path(), path, "Yara  (user00002)",
                                                           machine->clock.now());
        wardrobe::makeUserBackup(programFolder.path(), sim("User00005.iff"), "Nils  (user00005)",
                                 machine->clock.now());
        game.write("UserData/Characters/User00002.iff", "no longer a character file");

        std::string location;
        neighbourhood::frmMain main(machine->services, location, gameLocation);
        auto* item = main.findChild<QAction*>(QStringLiteral("smenuRestore"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Restore Backup ..."));

        tools::frmRestore window(machine->services, gameLocation, path, nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("Restore Backup"));
        QCOMPARE(child<QLabel>(&window, "lblBackups")->text(), QStringLiteral("Backups of User00002.iff (UserData)"));
        auto* list = child<QTreeWidget>(&window, "lstBackups");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("2002-03-30 14:05:07"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("User00002.iff"));
        child<QCheckBox>(&window, "chkAllSims")->setChecked(true);
        QCOMPARE(list->topLevelItemCount(), 2);
        child<QCheckBox>(&window, "chkAllSims")->setChecked(false);

        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        child<QPushButton>(&window, "cmdRestore")->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(readWholeFile(path), original);
        QCOMPARE(readWholeFile(first), original);
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(2));
        QCOMPARE(machine->dialogs.shown[1].title, std::string("Success"));
        main.closeWithoutAsking();
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
