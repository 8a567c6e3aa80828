// Starts the editor on the offscreen platform and walks the first road a new user takes:
// title window, main window with its complaints about the missing game, Set Path, and the
// neighbourhoods listed without a restart.

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "shell/version.h"

#include "app/application.h"
#include "app/windows/frm_about.h"
#include "app/windows/frm_title.h"
#include "app/windows/frm_main.h"
#include "app/windows/frm_set_path.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;
using platform::MessageReply;

class StartProgramTest : public QObject {
    Q_OBJECT

private:
    static QStringList listLines(QWidget* window) {
        QStringList lines;
        auto* list = window->findChild<QListWidget*>(QStringLiteral("lstUserDataDir"));
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private slots:
    void titleThenMainThenSetPathListsTheNeighbourhoods() {
        testkit::TempFolder programFolder;
        testkit::TempFolder game;
        game.write("SIMS.EXE", "MZ");
        game.write("UserData/Characters/User00001.iff", "x");
        game.write("UserData2/Characters/User00001.iff", "x");
        game.write("UserData_\xC3\xA9t\xC3\xA9/Characters/User00001.iff", "x");
        testkit::FakeMachine machine(programFolder.path());
        machine.registry.installPath = "";

        app::Application application(machine.services);
        application.start();
        app::frmTitle* title = application.titleWindow();
        QVERIFY(title->isVisible());
        QCOMPARE(title->windowTitle(), QString::fromStdString(titleCaption()));
        auto* picture = title->findChild<QLabel*>(QStringLiteral("Picture1"));
        QCOMPARE(picture->pixmap().size(), QSize(396, 273));
        QVERIFY(application.mainWindow() == nullptr);

        // OK has the focus and Enter presses it.
        auto* ok = title->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(QTest::qWaitForWindowActive(title));
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!title->isVisible());
        app::frmMain* main = application.mainWindow();
        QVERIFY(main && main->isVisible());
        QTRY_COMPARE(machine.dialogs.shown.size(), std::size_t(2));
        QCOMPARE(machine.dialogs.shown[0].title, std::string("Path to The Sims not found!"));
        QCOMPARE(machine.dialogs.shown[1].title, std::string("SIMS.EXE Not Found!"));
        QCOMPARE(machine.dialogs.shown[1].buttons, platform::MessageButtons::Ok);
        QCOMPARE(main->windowTitle(), QString::fromStdString(titleCaption() + " - by Ardentide"));
        QVERIFY(listLines(main).isEmpty());

        // A folder without Sims.exe is refused and the window stays; then the real one.
        testkit::TempFolder notAGame;
        testkit::whenShown<app::frmSetPath>([&](app::frmSetPath* dialog) {
            auto* location = dialog->findChild<QLineEdit*>(QStringLiteral("txtLocation"));
            location->setText(QString::fromStdString(notAGame.path()));
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            QVERIFY(dialog->isVisible());
            location->setText(QString::fromStdString(game.path()));
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        machine.dialogs.shown.clear();
        main->findChild<QAction*>(QStringLiteral("smenuSetPath"))->trigger();

        QCOMPARE(machine.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine.dialogs.shown[0].title, std::string("Selected Location Invalid"));
        QCOMPARE(application.session().gameFolder(), game.path());
        // A folder name reads as the file system spells it, and choosing it chooses that folder.
        QCOMPARE(listLines(main), (QStringList{QStringLiteral("Neighborhood 01   (UserData)"),
                                               QStringLiteral("Neighborhood 02   (UserData2)"),
                                               QString::fromUtf8("Neighborhood _\xC3\xA9t\xC3\xA9   (UserData_\xC3\xA9t\xC3\xA9)")}));
        main->findChild<QListWidget*>(QStringLiteral("lstUserDataDir"))->setCurrentRow(2);
        QCOMPARE(application.session().neighbourhood(), std::string("UserData_\xC3\xA9t\xC3\xA9"));

        main->closeWithoutAsking();
    }

    void closingAsksFirstAndNoKeepsTheWindow() {
        testkit::TempFolder programFolder;
        testkit::TempFolder game;
        game.write("Sims.exe", "MZ");
        testkit::FakeMachine machine(programFolder.path());
        machine.registry.installPath = game.path();
        app::Application application(machine.services);
        application.start();
        QTest::keyClick(application.titleWindow(), Qt::Key_Escape);   // the main window follows
        app::frmMain* main = application.mainWindow();
        QVERIFY(main);
        QTest::qWait(10);
        machine.dialogs.shown.clear();

        machine.dialogs.replies = {MessageReply::No};
        main->close();
        QVERIFY(main->isVisible());
        QCOMPARE(machine.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine.dialogs.shown[0].text, std::string("Exit this program?"));
        QCOMPARE(machine.dialogs.shown[0].title, std::string("Confirm Action"));

        machine.dialogs.replies = {MessageReply::Yes};
        main->findChild<QAction*>(QStringLiteral("smenuExit"))->trigger();
        QVERIFY(!main->isVisible());
    }

    void aboutShowsWhereThingsAreAndTheGuideShipsInside() {
        const QString guide = app::guideText();
        QVERIFY(guide.contains(QStringLiteral("Wine")));
        QVERIFY(guide.contains(QStringLiteral("ENX")));
        for (const char* topic : {"Proton", "Lutris", "Bottles", "Restore Backup", "Texture | On the body",
                                  "Wardrobe Overview", "Undo Last Batch"})
            QVERIFY2(guide.contains(QString::fromLatin1(topic)), topic);

        app::frmAbout about("/opt/drapeline", nullptr);
        QVERIFY(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text().contains(QString::fromStdString(versionText())));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblQtVersion"))->text(), QString::fromLatin1(qVersion()));
        auto* folder = about.findChild<QLabel*>(QStringLiteral("lblProgramFolder"));
        QCOMPARE(folder->text(), QStringLiteral("/opt/drapeline"));
        QVERIFY(folder->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("lblSettingsFile"))->text().isEmpty());
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("picTitle"))->pixmap().isNull());
    }

    void backupMenuItemCarriesTheStoredChoice() {
        testkit::TempFolder programFolder;
        testkit::FakeMachine machine(programFolder.path());
        machine.settings.setValue("Backup Saved File", "0");
        shell::GameSession session;
        app::frmMain main(machine.services, session);
        auto* backup = main.findChild<QAction*>(QStringLiteral("smenuBackup"));
        QVERIFY(backup->isCheckable());
        QVERIFY(!backup->isChecked());
        backup->trigger();
        QVERIFY(backup->isChecked());
        QCOMPARE(machine.settings.value("Backup Saved File"), std::string("1"));
    }
};

QTEST_MAIN(StartProgramTest)
#include "start_program_test.moc"
