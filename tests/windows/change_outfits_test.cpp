// Changing what a sim wears through the edit window and the skin chooser, on the
// offscreen platform and the demo game.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/widgets/picture_box.h"
#include "app/widgets/shown_picture.h"
#include "core/file_io.h"
#include "demo/demo_game.h"
#include "platform/files.h"
#include "platform/qt/qt_pictures.h"
#include "app/windows/frm_select_skin.h"
#include "tests/support/doubles.h"
#include "tests/windows/window_test_support.h"
#include "tests/support/temp_folder.h"
#include "app/windows/frm_edit_sim.h"

using namespace drapeline;
using testkit::child;
using testkit::text;
using platform::MessageReply;

class ChangeOutfitsTest : public QObject {
    Q_OBJECT

private:
    testkit::TempFolder programFolder;
    testkit::TempFolder game;
    std::unique_ptr<testkit::QtMachine> machine;
    std::string gameLocation;
    std::string simPath;

    std::unique_ptr<wardrobe::frmEditSim> open() {
        return testkit::openEditor(*machine, gameLocation, simPath);
    }

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        gameLocation = game.path();
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
        // Rosa: an adult woman, fit, light skin, 34 entries.
        simPath = platform::resolvePath(gameLocation, "UserData/Characters/User00009.iff");
    }

    void changingTheFormalOutfitTakesTheChoiceAndItsPicture() {
        auto editor = open();
        QString chosenModel;
        testkit::whenShown<skins::frmSelectSkin>([&](skins::frmSelectSkin* chooser) {
            QCOMPARE(chooser->model().SkinData, std::string("falgtfitF"));
            QCOMPARE(chooser->windowTitle(), QStringLiteral("Skin Selection - Select A Body And A Skin"));
            auto* filter = child<QCheckBox>(chooser, "chkFilter");
            filter->click();
            auto* models = child<QListWidget>(chooser, "lstModels");
            QVERIFY(models->count() > 0);
            for (int i = 0; i < models->count(); ++i)
                QVERIFY(models->item(i)->text().startsWith(QLatin1Char('f'), Qt::CaseInsensitive));
            models->setCurrentRow(0);
            chosenModel = models->item(0)->text();
            emit models->itemClicked(models->item(0));
            QVERIFY(!text(chooser, "txtSkinName").isEmpty());
            QVERIFY(text(chooser, "txtPageCount").startsWith(QStringLiteral("Page 1 of")));
            child<QPushButton>(chooser, "cmdSelect")->click();
        });
        child<QPushButton>(editor.get(), "cmdChangeFormal")->click();
        QCOMPARE(text(editor.get(), "txtFormalBody"), chosenModel);
        QVERIFY(text(editor.get(), "txtFormalSkin").endsWith(QStringLiteral("lgt_01")) ||
                text(editor.get(), "txtFormalSkin").contains(QStringLiteral("lgt")));
        QVERIFY(child<app::PictureBox>(editor.get(), "picFormal")->picture() !=
                app::stockImage(platform::StockPicture::NotFound));
    }

    void cancellingTheChooserChangesNothing() {
        auto editor = open();
        const QString before = text(editor.get(), "txtNormalSkin");
        testkit::whenShown<skins::frmSelectSkin>([](skins::frmSelectSkin* chooser) {
            child<QPushButton>(chooser, "cmdCancel")->click();
        });
        child<QPushButton>(editor.get(), "cmdChangeNormal")->click();
        QCOMPARE(text(editor.get(), "txtNormalSkin"), before);
    }

    // The busy pointer lets a Cancel pressed just before the search run first: the window
    // closes and no texture is loaded behind it.
    void aCancelBeforeTheTexturesLoadStopsTheSearch() {
        auto editor = open();
        bool searched = true;
        testkit::whenShown<skins::frmSelectSkin>([&](skins::frmSelectSkin* chooser) {
            auto* models = child<QListWidget>(chooser, "lstModels");
            QTimer::singleShot(0, child<QPushButton>(chooser, "cmdCancel"), &QPushButton::click);
            emit models->itemClicked(models->item(0));
            searched = chooser->model().fileCount() > 0 || !text(chooser, "txtPageCount").isEmpty();
        });
        child<QPushButton>(editor.get(), "cmdChangeNormal")->click();
        QVERIFY(!searched);
    }

    void aHandTextureComesFromTheHandPages() {
        auto editor = open();
        testkit::whenShown<skins::frmSelectSkin>([](skins::frmSelectSkin* chooser) {
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

    void normalEmptiesTheFormalHandsOnlyAfterYes() {
        auto editor = open();
        const QString before = text(editor.get(), "txtHandFormalLeft");
        machine->dialogs.replies = {MessageReply::No};
        child<QPushButton>(editor.get(), "cmdNormalFormalHands")->click();
        QCOMPARE(text(editor.get(), "txtHandFormalLeft"), before);
        machine->dialogs.replies = {MessageReply::Yes};
        child<QPushButton>(editor.get(), "cmdNormalFormalHands")->click();
        QCOMPARE(text(editor.get(), "txtHandFormalLeft"), QString());
        QCOMPARE(text(editor.get(), "txtHandFormalRight"), QString());
        QCOMPARE(child<app::PictureBox>(editor.get(), "picHandFormalRight")->picture(),
                 app::stockImage(platform::StockPicture::HandNotFound));
    }

    void defaultsRestoreTheGamesNamesAndSaveKeepsThem() {
        auto editor = open();
        machine->dialogs.replies = {MessageReply::Yes};
        child<QPushButton>(editor.get(), "cmdDefaultFormal")->click();
        QCOMPARE(text(editor.get(), "txtFormalBody"), QStringLiteral("f100fafit_original"));
        QCOMPARE(text(editor.get(), "txtFormalSkin"), QStringLiteral("f100fafitlgt_original"));
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        child<QPushButton>(editor.get(), "cmdSave")->click();
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        auto reopened = open();
        QCOMPARE(text(reopened.get(), "txtFormalBody"), QStringLiteral("f100fafit_original"));
    }
};

QTEST_MAIN(ChangeOutfitsTest)
#include "change_outfits_test.moc"
