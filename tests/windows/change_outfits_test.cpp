// Changing what a sim wears through the edit window and the skin chooser, on the
// offscreen platform and the demo game.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "app/widgets/figure_widget.h"
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

    // On the body: every page's figure wears what its fields say and follows a change at
    // once, names what is missing, turns with the keys; the switch brings the flat previews
    // back on every page and is remembered. The chooser dresses the sim in the selection.
    void theOutfitIsShownOnTheBodyAndFollowsTheFields() {
        using wardrobe::OutfitKind;
        machine->settings.setValue("Preview On The Body", "");
        auto editor = open();
        editor->show();
        auto* swimsuit = child<app::FigureWidget>(editor.get(), "picSwimsuitBody");
        QVERIFY(!swimsuit->isHidden());
        QVERIFY(!child<app::PictureBox>(editor.get(), "picSwimsuit")->isVisibleTo(editor.get()));
        const auto& fields = editor->model().fields();
        QCOMPARE(swimsuit->view()->request().body.texture, fields.outfit(OutfitKind::Swimsuit).texture);
        QCOMPARE(swimsuit->view()->missing(), std::vector<std::string>{});
        QVERIFY(swimsuit->view()->figure().triangles() > 0);

        editor->model().changeFields([](wardrobe::WardrobeFields& f) {
            f.outfit(OutfitKind::Swimsuit).mesh = "b999fafit_01";
        });
        QCOMPARE(swimsuit->view()->request().body.suit, std::string("b999fafit_01"));
        QCOMPARE(swimsuit->view()->missing(), std::vector<std::string>{"Mesh b999fafit_01 is not installed"});
        QVERIFY(swimsuit->view()->figure().triangles() > 0);   // head and hands still drawn

        swimsuit->setFocus();
        QTest::keyClick(swimsuit, Qt::Key_Right);
        QCOMPARE(swimsuit->view()->camera().yaw(), figure::FigureView::StepDegrees);
        QTest::keyClick(swimsuit, Qt::Key_Home);
        QCOMPARE(swimsuit->view()->camera().yaw(), 0.0f);

        child<app::PreviewSwitch>(editor.get(), "swPreview")->findChildren<QToolButton*>().front()->click();
        QVERIFY(swimsuit->isHidden());
        QVERIFY(child<app::PictureBox>(editor.get(), "picNormal")->isVisibleTo(editor.get()));
        QVERIFY(child<QWidget>(editor.get(), "handsOnTheBody")->isHidden());
        QCOMPARE(machine->settings.value("Preview On The Body"), std::string("0"));
        auto again = open();
        QVERIFY(child<app::FigureWidget>(again.get(), "picNormalBody")->isHidden());
        machine->settings.setValue("Preview On The Body", "1");

        testkit::whenShown<app::frmSelectSkin>([&](app::frmSelectSkin* chooser) {
            auto* models = child<QListWidget>(chooser, "lstModels");
            models->setCurrentRow(0);
            auto* shown = child<app::FigureWidget>(chooser, "picSkinBody");
            QVERIFY(!shown->isHidden());
            QCOMPARE(shown->view()->request().body,
                     (figure::Garment{chooser->model().selectedModel(), chooser->model().skinName()}));
            const QImage flat = child<app::PictureBox>(chooser, "picThumbs")->canvas();
            child<QCheckBox>(chooser, "chkThumbsOnBody")->setChecked(true);
            QVERIFY(child<app::PictureBox>(chooser, "picThumbs")->canvas() != flat);
            child<QPushButton>(chooser, "cmdCancel")->click();
        });
        child<QPushButton>(editor.get(), "cmdChangeNormal")->click();
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
            QTest::mouseClick(child<app::PictureBox>(chooser, "picThumbs"), Qt::LeftButton, {}, QPoint(2, 2));
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

    // At their first sizes the edit window and the chooser keep the old places; grown, the
    // previews, pages and grid take the room and the fields the width. Last, as the
    // chooser keeps its grown size.
    void theEditWindowAndTheChooserKeepTheirPlacesAndGrow() {
        machine->settings.setValue("Preview On The Body", "0");
        auto editor = open();
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        auto* tabs = child<QTabWidget>(editor.get(), "tabSkins");
        const auto onPage = [&](int index) {
            tabs->setCurrentIndex(index);
            QApplication::processEvents();
            return tabs->currentWidget();
        };
        const auto check = [&] {
            const QString wrong =
                testkit::misplaced(editor.get(), editor.get(),
                                   {{"cmdSave", {700, 8, 92, 30}}, {"Frame6", {584, 80, 208, 48}},
                                    {"txtName", {8, 98, 262, 23}}, {"txtSkinTone", {466, 98, 86, 23}},
                                    {"tabSkins", {8, 134, 784, 364}}}) +
                testkit::misplaced(editor.get(), onPage(2),
                                   {{"txtFormalBody", {12, 32, 440, 23}}, {"txtFormalSkin", {12, 82, 440, 23}},
                                    {"cmdChangeFormal", {12, 118, 100, 28}}, {"cmdDefaultFormal", {120, 118, 100, 28}},
                                    {"picFormal", {490, 14, 256, 256}}}) +
                testkit::misplaced(editor.get(), onPage(6),
                                   {{"Frame1", {6, 6, 380, 150}}, {"Frame4", {392, 162, 380, 150}},
                                    {"txtHandFormalRight", {162, 44, 136, 23}}, {"picHandFormalLeft", {18, 76, 64, 64}},
                                    {"cmdRightFormalHand", {234, 74, 64, 26}}, {"cmdNormalFormalHands", {306, 90, 72, 26}}});
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        };
        check();
        editor->resize(1800, 1000);
        onPage(2);
        QVERIFY(child<QWidget>(editor.get(), "picFormal")->width() > 256 * 2);
        QVERIFY(child<QWidget>(editor.get(), "txtFormalBody")->width() > 440);
        QVERIFY(child<QWidget>(editor.get(), "cmdSave")->x() > 1600);
        QVERIFY(child<QWidget>(editor.get(), "txtSkinTone")->geometry().right() < child<QWidget>(editor.get(), "Frame6")->x());
        QVERIFY(onPage(6) && child<QWidget>(editor.get(), "picHandClosedRight")->width() > 64 * 3);
        editor->resize(800, 506);
        check();

        testkit::whenShown<app::frmSelectSkin>([&](app::frmSelectSkin* chooser) {
            const QString wrong = testkit::misplaced(
                chooser, chooser,
                {{"chkFilter", {120, 6, 160, 17}}, {"txtSkinName", {8, 184, 261, 21}}, {"picSkin", {10, 230, 257, 257}},
                 {"picThumbs", {282, 10, 477, 477}}, {"cmdSelect", {8, 500, 77, 25}}, {"cmdCancel", {192, 500, 77, 25}},
                 {"cmdPrevious", {412, 500, 57, 23}}, {"cmdNext", {572, 500, 57, 23}}});
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            auto* grid = child<app::PictureBox>(chooser, "picThumbs");
            chooser->resize(1800, 1000);
            QApplication::processEvents();
            QVERIFY(grid->width() > 477 * 3 / 2);
            QVERIFY(child<QWidget>(chooser, "picSkin")->width() > 257);
            QVERIFY(child<QWidget>(chooser, "lstModels")->height() > 134);
            QTest::mouseClick(grid, Qt::LeftButton, {}, grid->toShown({68 * 2 + 30, 68 + 30}));
            QCOMPARE(chooser->model().pager().cell(), 9);
            child<QPushButton>(chooser, "cmdCancel")->click();
        });
        child<QPushButton>(editor.get(), "cmdChangeNormal")->click();
    }
};

QTEST_MAIN(ChangeOutfitsTest)
#include "change_outfits_test.moc"
