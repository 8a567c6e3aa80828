// The main road on the offscreen platform: a neighbourhood's sims as pages of
// thumbnails, selecting, paging, and opening a sim in the edit window.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "app/widgets/picture_box.h"
#include "app/widgets/shown_picture.h"
#include "core/file_io.h"
#include "app/windows/frm_find_sim.h"
#include "app/windows/frm_main.h"
#include "app/windows/frm_set_path.h"
#include "platform/files.h"
#include "tests/windows/window_test_support.h"
#include "testkit/fixture_sim.h"

using namespace drapeline;
using testkit::child;
using testkit::text;

namespace {

std::string simName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "User%05d.iff", i);
    return name;
}

// Overwrites the 64-byte label that starts with `label` with `fill`, so it has no NUL.
void labelWithoutNul(ByteText& bytes, const std::string& label, char fill) {
    const auto at = bytes.find(label + std::string(1, '\0'));
    if (at == ByteText::npos) qFatal("no label %s", label.c_str());
    bytes.replace(at, 64, std::string(64, fill));
}

// A game with 120 sims in UserData (three pages): the third unreadable, the fifth without
// a name set, the ninth with picture labels that hold no NUL.
void makeGame(const testkit::TempFolder& game) {
    game.write("Sims.exe", "MZ");
    for (int i = 1; i <= 120; ++i) {
        testkit::SimOptions sim;
        sim.seed = static_cast<std::uint32_t>(i);
        sim.objectLabel = "user" + std::to_string(10000 + i);
        sim.names = {"Sim" + std::to_string(i)};
        sim.otherChunks = 2;
        ByteText bytes;
        if (i == 5) {
            bytes = testkit::IffBuilder()
                        .chunk("OBJD", 128, "x", "user10005")
                        .strings(200, testkit::adultFemaleBodyStrings())
                        .map()
                        .build();
        } else {
            bytes = testkit::characterFile(sim).build();
        }
        if (i == 3) bytes.resize(bytes.size() - 40);
        if (i == 9)
            for (const char* label : {"faces", "rel. images"}) labelWithoutNul(bytes, label, label[0]);
        game.write("UserData/Characters/" + simName(i), bytes);
    }
}

}  // namespace

class BrowseAndEditTest : public testkit::WindowTest {
    Q_OBJECT

private:
    std::unique_ptr<app::frmMain> main;

    QString label(int cell) { return child<QLabel>(main.get(), ("lblSimName_" + std::to_string(cell)).c_str())->text(); }
    QString pageText() { return child<QLineEdit>(main.get(), "txtPageCount")->text(); }
    QString simNameText() { return child<QLineEdit>(main.get(), "txtSimName")->text(); }
    // A click on the thumbnail grid, in its pixels at the default size.
    void clickGrid(int x, int y) {
        QTest::mouseClick(child<app::PictureBox>(main.get(), "picThumbs"), Qt::LeftButton, {}, QPoint(x, y));
    }
    std::string simPath(int i) { return platform::resolvePath(game.path(), "UserData/Characters/" + simName(i)); }

private slots:
    void initTestCase() {
        makeGame(game);
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
        machine->settings.setValue("Last Neighborhood Selected", "Neighborhood 01   (UserData)");
        main = std::make_unique<app::frmMain>(machine->services, session, game.path());
        main->show();
        QCoreApplication::processEvents();   // the activation runs once the window is shown
    }

    void cleanupTestCase() { main->closeWithoutAsking(); }

    void firstPageShowsNamesAndTheFirstSim() {
        QCOMPARE(pageText(), QStringLiteral("Page 1 of 3"));
        QCOMPARE(label(0), QStringLiteral("Sim1"));
        QCOMPARE(label(2), QStringLiteral("* ERROR *\n Can't Load!!"));
        QCOMPARE(label(4), QString());   // no name set
        QCOMPARE(label(48), QStringLiteral("Sim49"));
        QCOMPARE(simNameText(), QStringLiteral("user10001"));
        // The status line names the game in use; this one is not the stored one.
        QCOMPARE(child<QLabel>(main.get(), "lblGameFolder")->text(),
                 QStringLiteral("Game: demo game (%1)").arg(QString::fromStdString(game.path())));
        // The thumbnail grid has pictures painted in it: not one plain colour.
        const QImage grid = child<app::PictureBox>(main.get(), "picThumbs")->canvas();
        QVERIFY(grid.pixel(2 + 9 + 5, 2 + 5) != grid.pixel(470, 470));
    }

    // Where a control stands in the window's client area.
    QRect placeOf(const char* name) {
        auto* w = child<QWidget>(main.get(), name);
        return QRect(w->mapTo(main->centralWidget(), QPoint(0, 0)), w->size());
    }

    void theDefaultSizeKeepsTheDocumentedPlacesAndAGrownWindowGrowsTheGrid() {
        const auto documented = [&] {
            const QString wrong = testkit::misplaced(
                main.get(), main->centralWidget(),
                {{"lstUserDataDir", {8, 26, 265, 104}}, {"txtSimName", {8, 156, 265, 23}},
                 {"picSim", {10, 208, 261, 261}}, {"cmdSelect", {8, 479, 265, 29}},
                 {"picThumbs", {282, 28, 481, 481}}, {"cmdPrevious", {414, 517, 57, 23}},
                 {"txtPageCount", {482, 517, 81, 23}}, {"cmdNext", {574, 517, 57, 23}}});
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        };
        QCOMPARE(main->centralWidget()->size(), QSize(773, 548));
        documented();

        // Grown (as maximised on a large screen): the grid's cells get more pixels, a
        // press still finds its cell, and the labels stay under their pictures.
        main->resize(1600, 1000);
        QApplication::processEvents();
        auto* grid = child<app::PictureBox>(main.get(), "picThumbs");
        QVERIFY(grid->width() > 481 * 3 / 2);
        QCOMPARE(grid->width(), grid->height());
        QVERIFY(placeOf("lstUserDataDir").width() > 265);
        clickGrid(68 + 5, 68 + 5);
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->toShown({68 * 2 + 30, 68 + 30}));
        QCOMPARE(simNameText(), QStringLiteral("user10010"));
        const QRect name = child<QLabel>(main.get(), "lblSimName_9")->geometry();
        QCOMPARE(name.topLeft(), grid->toShown({68 * 2 + 2, 68 + 48}));
        // The page drawn small is drawn again at the new size from its pictures: the last
        // cell's picture covers its larger place.
        QCOMPARE(grid->canvas().size(), grid->size());
        const QColor background = main->palette().color(QPalette::Button);
        QVERIFY(QColor(grid->canvas().pixel(grid->toShown({408 + 2 + 9 + 20, 408 + 2 + 20}))) != background);

        main->resize(773, 548 + main->height() - main->centralWidget()->height());
        QApplication::processEvents();
        documented();
        clickGrid(5, 5);
    }

    void selectingShowsThePreviewAndAnUnreadableSimExplainsItself() {
        clickGrid(68 * 2 + 5, 5);   // cell 2
        QCOMPARE(simNameText(), QStringLiteral("* ERROR * Can not load User00003.iff"));
        clickGrid(68 + 5, 5);
        QCOMPARE(simNameText(), QStringLiteral("user10002"));
    }

    void theSelectionFrameBlinksWhiteOnTheSelectedCell() {
        clickGrid(68 + 5, 68 + 5);   // cell 8
        const auto* grid = child<app::PictureBox>(main.get(), "picThumbs");
        const QColor background = main->palette().color(QPalette::Button);
        QSet<QRgb> seen;
        for (int waited = 0; seen.size() < 2 && waited < 3000; waited += 50) {
            QTest::qWait(50);
            seen.insert(grid->canvas().pixel(68, 68) & 0xFFFFFF);
            QCOMPARE(grid->canvas().pixel(68 + 67, 68 + 1), grid->canvas().pixel(68, 68));
        }
        QVERIFY(seen.contains(QColor(Qt::white).rgb() & 0xFFFFFF));
        QVERIFY(seen.contains(background.rgb() & 0xFFFFFF));
        // The old cell's frame is erased when another is chosen.
        clickGrid(5, 5);
        QCOMPARE(QColor(grid->canvas().pixel(68, 68)), background);
    }

    void arrowKeysPageAcrossTheBoundaryAndThePagingButtonsStopAtTheEnds() {
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        auto* grid = child<app::PictureBox>(main.get(), "picThumbs");
        auto* previous = child<QPushButton>(main.get(), "cmdPrevious");
        auto* next = child<QPushButton>(main.get(), "cmdNext");
        // Enter on the neighbourhood list goes on to its sims.
        child<QWidget>(main.get(), "lstUserDataDir")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), grid);
        // Tab reaches the grid from Edit This Sim, with no stop on a read-only field.
        child<QPushButton>(main.get(), "cmdSelect")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid);

        QTest::keyClick(grid, Qt::Key_Home);
        QVERIFY(!previous->isEnabled());
        QVERIFY(next->isEnabled());
        for (int row = 0; row < 7; ++row) QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(pageText(), QStringLiteral("Page 2 of 3"));
        QCOMPARE(simNameText(), QStringLiteral("user10050"));
        QVERIFY(previous->isEnabled());
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(pageText(), QStringLiteral("Page 1 of 3"));
        QCOMPARE(simNameText(), QStringLiteral("user10049"));

        QTest::keyClick(grid, Qt::Key_End);
        QCOMPARE(pageText(), QStringLiteral("Page 3 of 3"));
        QCOMPARE(label(21), QStringLiteral("Sim120"));
        QCOMPARE(simNameText(), QStringLiteral("user10120"));
        QVERIFY(!next->isEnabled());
        // An empty cell empties the preview, and Edit This Sim then does nothing.
        clickGrid(68 * 3 + 5, 68 * 3 + 5);
        QCOMPARE(simNameText(), QString());
        machine->dialogs.shown.clear();
        child<QPushButton>(main.get(), "cmdSelect")->click();
        QVERIFY(machine->dialogs.shown.empty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QTest::keyClick(grid, Qt::Key_Home);
        QCOMPARE(pageText(), QStringLiteral("Page 1 of 3"));
    }

    void enterOnAnUnreadableSimSaysWhy() {
        auto* grid = child<app::PictureBox>(main.get(), "picThumbs");
        QTest::keyClick(grid, Qt::Key_Home);
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Right);   // the third sim, cut short
        machine->dialogs.shown.clear();
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
        const auto& box = machine->dialogs.shown[0];
        QCOMPARE(box.icon, platform::MessageIcon::Exclamation);
        QCOMPARE(box.title, std::string("Can Not Open Sim"));
        QVERIFY(box.text.rfind("The sim file User00003.iff can not be opened.\r\nThe error returned was:\r\n", 0) == 0);
        QVERIFY(box.text.size() > 80);   // the reader's own words follow
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void findSimSelectsTheNextMatchOnItsPage() {
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(child<app::PictureBox>(main.get(), "picThumbs"), Qt::Key_Home);
        QStringList seen;
        testkit::whenShown<app::frmFindSim>([&](app::frmFindSim* find) {
            QTest::keyClicks(child<QLineEdit>(find, "txtFind"), QStringLiteral("SIM11"));
            QTest::keyClick(child<QLineEdit>(find, "txtFind"), Qt::Key_Return);
            seen << simNameText() + " " + pageText();
            // It says where it found the sim.
            QCOMPARE(child<QLabel>(find, "lblFound")->text(), QStringLiteral("Found Sim11 in Neighborhood 01   (UserData)"));
            QTest::keyClick(child<QLineEdit>(find, "txtFind"), Qt::Key_Return);
            seen << simNameText() + " " + pageText();
            QTest::keyClick(child<QLineEdit>(find, "txtFind"), Qt::Key_F3);
            seen << simNameText() + " " + pageText();
            QTest::keyClick(find, Qt::Key_Escape);
        });
        QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(seen, QStringList({"user10011 Page 1 of 3", "user10110 Page 3 of 3",
                                    "user10111 Page 3 of 3"}));
        main->activateWindow();   // the offscreen platform has no window manager to do it
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(main.get(), Qt::Key_F3);   // F3 goes on after the window closed
        QCOMPARE(simNameText(), QStringLiteral("user10112"));

        machine->dialogs.shown.clear();
        main->findSim("nobody");
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(1));
        QCOMPARE(machine->dialogs.shown[0].title, std::string("Find Sim"));
        QCOMPARE(simNameText(), QStringLiteral("user10112"));
        QTest::keyClick(child<app::PictureBox>(main.get(), "picThumbs"), Qt::Key_Home);
    }

    void setPathShowsTheGameFolderInUseWhenItIsNotTheStoredOne() {
        // The window was made with a game folder that is not stored, as the demo game is.
        QString shown;
        const std::string stored = machine->settings.value("Sims Location");
        testkit::whenShown<app::frmSetPath>([&](app::frmSetPath* window) {
            shown = text(window, "txtLocation");
            QTest::keyClick(window, Qt::Key_Escape);
        });
        main->findChild<QAction*>(QStringLiteral("smenuSetPath"))->trigger();
        QCOMPARE(shown, QString::fromStdString(game.path()));
        QCOMPARE(machine->settings.value("Sims Location"), stored);   // shown, not stored
    }

    void picturesWhoseLabelsHoldNoNulAreExportedUnderTheWholeLabel() {
        // Opening the neighbourhood drew this sim's thumbnail; the preview and the edit
        // window export its pictures again.
        QTest::keyClick(child<app::PictureBox>(main.get(), "picThumbs"), Qt::Key_Home);
        clickGrid(68 + 5, 68 + 5);   // cell 8: the ninth sim
        QCOMPARE(simNameText(), QStringLiteral("user10009"));
        QCOMPARE(label(8), QStringLiteral("Sim9"));
        const auto editor = testkit::openEditor(*machine, session, simPath(9));
        const std::string exported = platform::joinPath(programFolder.path(), "SimPictures");
        QVERIFY(platform::fileExists(platform::joinPath(exported, std::string(64, 'f') + ".BMP")));
        QVERIFY(platform::fileExists(platform::joinPath(exported, std::string(64, 'r') + ".BMP")));
    }

    void editThisSimOpensTheEditWindowAndCancelWritesNothing() {
        clickGrid(5, 68 + 5);   // cell 7: the eighth sim
        const std::string path = simPath(8);
        const ByteText before = readWholeFile(path);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* editor = qobject_cast<app::frmEditSim*>(QApplication::activeModalWidget());
            QVERIFY(editor);
            seen = true;
            QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Wardrobe"));
            auto* tabs = child<QTabWidget>(editor, "tabSkins");
            QCOMPARE(tabs->count(), 7);
            QCOMPARE(tabs->currentIndex(), 0);
            QCOMPARE(tabs->tabText(6), QStringLiteral("&Hands"));   // Alt+H
            QCOMPARE(child<QLineEdit>(editor, "txtName")->text(), QStringLiteral("Sim8  (user10008)"));
            child<QPushButton>(editor, "cmdCancel")->click();
        });
        child<QPushButton>(main.get(), "cmdSelect")->click();
        QVERIFY(seen);
        QCOMPARE(readWholeFile(path), before);
    }

    void theEditWindowOpensOnTheNormalPageAndNeverShowsAnEarlierSimsPictures() {
        const std::string withFaces = game.write("Other/User00001.iff", testkit::characterFile().build());
        const std::string withoutFaces = game.write(
            "Other/User00002.iff",
            testkit::IffBuilder()
                .chunk("OBJD", 128, "x", "user00002")
                .ctss(2000, {"Ann"})
                .strings(200, testkit::adultFemaleBodyStrings())
                .map()
                .build());

        const auto first = testkit::openEditor(*machine, session, withFaces);
        child<QTabWidget>(first.get(), "tabSkins")->setCurrentIndex(4);
        const auto second = testkit::openEditor(*machine, session, withoutFaces);
        QCOMPARE(child<QTabWidget>(second.get(), "tabSkins")->currentIndex(), 0);
        QCOMPARE(child<app::PictureBox>(second.get(), "picFaces")->picture(),
                 app::stockImage(platform::StockPicture::WebNotFound));
        QCOMPARE(child<QLineEdit>(second.get(), "txtName")->text(), QStringLiteral("Ann  (user00002)"));
        // Texts are the program's to write.
        QVERIFY(child<QLineEdit>(second.get(), "txtNormalSkin")->isReadOnly());
        QVERIFY(child<QRadioButton>(second.get(), "optFit")->isChecked());
    }
};

QTEST_MAIN(BrowseAndEditTest)
#include "browse_and_edit_test.moc"
