// Changing what a sim wears through the edit window and the skin chooser, on the
// offscreen platform and the demo game.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "app/widgets/picture_box.h"
#include "app/widgets/shown_picture.h"
#include "demo/demo_game.h"
#include "platform/files.h"
#include "app/windows/frm_select_skin.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;
using testkit::child;
using testkit::text;
using platform::MessageReply;

class ChangeOutfitsTest : public testkit::WindowTest {
    Q_OBJECT

private:
    std::string simPath;

    std::unique_ptr<app::frmEditSim> open() {
        return testkit::openEditor(*machine, session, simPath);
    }

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        session.setGameFolder(game.path());
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
        // Rosa: an adult woman, fit, light skin, 34 entries.
        simPath = platform::resolvePath(session.gameFolder(), "UserData/Characters/User00009.iff");
    }

    // Only keys: Alt+F to the Formal page and its Change button, Enter; in the chooser the arrow
    // keys load a model's textures and move through them, Enter selects; Ctrl+S saves.
    void theFormalOutfitChangesAndSavesWithTheKeyboardAlone() {
        auto editor = open();
        editor->show();
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        const auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QWidget* focused = QApplication::focusWidget();
            if (!focused) qFatal("no focus for key %x", k);
            QTest::keyClick(focused, Qt::Key(k), m);
        };
        // The keyboard starts on the first page's Change button.
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(editor.get(), "cmdChangeNormal"));
        const QString wornModel = text(editor.get(), "txtFormalBody");
        const QString wornSkin = text(editor.get(), "txtFormalSkin");
        key(Qt::Key_F, Qt::AltModifier);
        QCOMPARE(child<QTabWidget>(editor.get(), "tabSkins")->currentIndex(), 2);
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(editor.get(), "cmdChangeFormal"));

        QString chosenModel;
        QString chosenSkin;
        testkit::whenShown<app::frmSelectSkin>([&](app::frmSelectSkin* chooser) {
            QCOMPARE(chooser->model().request().filterCode, std::string("falgtfitF"));
            QCOMPARE(chooser->windowTitle(), QStringLiteral("Skin Selection - Select A Body And A Skin"));
            QVERIFY(QTest::qWaitForWindowActive(chooser));
            auto* models = child<QListWidget>(chooser, "lstModels");
            // It opens on what the sim wears: its model and its texture.
            QVERIFY(models->currentItem());
            QCOMPARE(models->currentItem()->text().toLower(), wornModel.toLower());
            QCOMPARE(text(chooser, "txtSkinName").toLower(), wornSkin.toLower());
            models->setFocus(Qt::TabFocusReason);
            const int worn = models->currentRow();
            QTest::keyClick(models, worn == 0 ? Qt::Key_Down : Qt::Key_Up);
            QVERIFY(models->currentRow() != worn);
            QVERIFY(text(chooser, "txtSkinName").toLower() != wornSkin.toLower());
            chosenModel = models->currentItem()->text();
            for (int i = 0; i < 3; ++i) key(Qt::Key_Tab);   // Select, Cancel, the grid
            auto* grid = child<app::PictureBox>(chooser, "picThumbs");
            QCOMPARE(QApplication::focusWidget(), grid);
            const QString first = text(chooser, "txtSkinName");
            QTest::keyClick(grid, Qt::Key_End);
            chosenSkin = text(chooser, "txtSkinName");
            QVERIFY(chosenSkin != first || chooser->model().fileCount() == 1);
            QTest::keyClick(grid, Qt::Key_Return);
        });
        key(Qt::Key_Return);
        QCOMPARE(text(editor.get(), "txtFormalBody"), chosenModel);
        QCOMPARE(text(editor.get(), "txtFormalSkin"), chosenSkin);
        QVERIFY(child<app::PictureBox>(editor.get(), "picFormal")->picture() !=
                app::stockImage(platform::StockPicture::NotFound));

        editor->activateWindow();   // the offscreen platform has no window manager to do it
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(editor.get(), "cmdChangeFormal"));
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(machine->dialogs.shown.front().text.rfind("Make changes to ", 0), 0u);
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        auto reopened = open();
        QCOMPARE(text(reopened.get(), "txtFormalSkin"), chosenSkin);
    }

    // The busy pointer lets a Cancel pressed just before the search run first: the window
    // closes, no texture is loaded behind it, and the outfit stays as it was.
    void aCancelBeforeTheTexturesLoadStopsTheSearchAndChangesNothing() {
        auto editor = open();
        const QString before = text(editor.get(), "txtNormalSkin");
        bool searched = true;
        testkit::whenShown<app::frmSelectSkin>([&](app::frmSelectSkin* chooser) {
            auto* models = child<QListWidget>(chooser, "lstModels");
            // Another model than the one the sim wears, which the chooser opened on.
            const int other = models->currentRow() == 0 ? 1 : 0;
            QTimer::singleShot(0, child<QPushButton>(chooser, "cmdCancel"), &QPushButton::click);
            models->setCurrentRow(other);
            searched = chooser->model().fileCount() > 0;
        });
        child<QPushButton>(editor.get(), "cmdChangeNormal")->click();
        QVERIFY(!searched);
        QCOMPARE(text(editor.get(), "txtNormalSkin"), before);
    }

    void theFilterStaysAsTheUserLeftItForTheNextChange() {
        auto editor = open();
        const auto filterOnOpening = [&](bool click) {
            bool checked = false;
            testkit::whenShown<app::frmSelectSkin>([&](app::frmSelectSkin* chooser) {
                auto* filter = child<QCheckBox>(chooser, "chkFilter");
                checked = filter->isChecked();
                if (click) filter->click();
                child<QPushButton>(chooser, "cmdCancel")->click();
            });
            child<QPushButton>(editor.get(), "cmdChangeSwimsuit")->click();
            return checked;
        };
        QVERIFY(!filterOnOpening(true));
        QVERIFY(filterOnOpening(true));
        QVERIFY(!filterOnOpening(false));
    }

    void aHandTextureComesFromTheHandPages() {
        auto editor = open();
        testkit::whenShown<app::frmSelectSkin>([](app::frmSelectSkin* chooser) {
            QCOMPARE(chooser->windowTitle(), QStringLiteral("Select Hand Skin"));
            QVERIFY(!child<QListWidget>(chooser, "lstModels")->isVisible());
            QCOMPARE(text(chooser, "txtPageCount"), QStringLiteral("Page 1 of 2"));
            child<QPushButton>(chooser, "cmdNext")->click();
            QCOMPARE(text(chooser, "txtPageCount"), QStringLiteral("Page 2 of 2"));
            chooser->picThumbs_MouseDown(0, 0);
            child<QPushButton>(chooser, "cmdSelect")->click();
        });
        child<QPushButton>(editor.get(), "cmdRightOpenHand")->click();
        const QString chosen = text(editor.get(), "txtHandOpenRight");
        QVERIFY(!chosen.isEmpty());

        // Copy Left puts the left texture and picture on the right.
        child<QPushButton>(editor.get(), "cmdCopyOpenLeft")->click();
        QCOMPARE(text(editor.get(), "txtHandOpenRight"), text(editor.get(), "txtHandOpenLeft"));
        QCOMPARE(child<app::PictureBox>(editor.get(), "picHandOpenRight")->picture(),
                 child<app::PictureBox>(editor.get(), "picHandOpenLeft")->picture());
    }

    // The rules are the model's; here only that the buttons reach them and the fields follow.
    void normalEmptiesTheFormalHandsAndDefaultRestoresTheGamesNames() {
        auto editor = open();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Yes};
        child<QPushButton>(editor.get(), "cmdNormalFormalHands")->click();
        QCOMPARE(text(editor.get(), "txtHandFormalLeft"), QString());
        QCOMPARE(text(editor.get(), "txtHandFormalRight"), QString());
        QCOMPARE(child<app::PictureBox>(editor.get(), "picHandFormalRight")->picture(),
                 app::stockImage(platform::StockPicture::HandNotFound));
        child<QPushButton>(editor.get(), "cmdDefaultFormal")->click();
        QCOMPARE(text(editor.get(), "txtFormalBody"), QStringLiteral("f100fafit_original"));
        QCOMPARE(text(editor.get(), "txtFormalSkin"), QStringLiteral("f100fafitlgt_original"));
    }
};

QTEST_MAIN(ChangeOutfitsTest)
#include "change_outfits_test.moc"
