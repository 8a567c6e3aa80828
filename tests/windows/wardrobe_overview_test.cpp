// The Wardrobe Overview on the demo game: the table through its model and proxy, the
// filter and "Show only problems", a batch on every sim with a problem and its undo.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "app/windows/frm_edit_sim.h"
#include "app/windows/frm_wardrobe_overview.h"
#include "demo/demo_game.h"
#include "demo/roster.h"
#include "neighbourhood/listing.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;
using platform::MessageReply;
using testkit::child;

class WardrobeOverviewTest : public testkit::WindowTest {
    Q_OBJECT

private slots:
    void initTestCase() {
        demo::createDemoGame(game.path());
        session.setGameFolder(game.path());
        session.chooseNeighbourhood("UserData", neighbourhood::listSimFiles(game.path(), "UserData"));
        machine = std::make_unique<testkit::QtMachine>(programFolder.path());
    }

    void theTableShowsEverySimFiltersAndUndoesABatch() {
        int planted = 0, pink = 0;
        for (const auto& s : demo::demoRoster())
            if (s.neighbourhood == "UserData") {
                planted += !s.faults.empty();
                pink += std::count(s.faults.begin(), s.faults.end(), "pink-hands") > 0;
            }
        app::frmWardrobeOverview window(machine->services, session, [] { return false; }, nullptr);
        window.loadAll();
        QSortFilterProxyModel& view = window.view();
        QCOMPARE(view.rowCount(), 60);
        QCOMPARE(view.columnCount(), audit::ColumnCount);
        QCOMPARE(view.headerData(static_cast<int>(audit::Column::Formal), Qt::Horizontal).toString(), QStringLiteral("Formal"));

        child<QCheckBox>(&window, "chkProblemsOnly")->setChecked(true);
        QCOMPARE(view.rowCount(), planted);
        child<QLineEdit>(&window, "txtFilter")->setText(QStringLiteral("PINK"));
        QCOMPARE(view.rowCount(), pink);
        child<QLineEdit>(&window, "txtFilter")->clear();

        // Sorted by name, the rows come in order of their names.
        view.sort(static_cast<int>(audit::Column::Name), Qt::AscendingOrder);
        const auto name = [&](int row) { return view.index(row, static_cast<int>(audit::Column::Name)).data().toString(); };
        QVERIFY(name(0).toLower() <= name(1).toLower());
        const QModelIndex problem = view.index(0, static_cast<int>(audit::Column::Problems));
        QVERIFY(!problem.data().toString().isEmpty());
        QVERIFY(!view.index(0, static_cast<int>(audit::Column::File)).data(Qt::ToolTipRole).toString().isEmpty());

        auto* sims = child<QComboBox>(&window, "cboSims");
        sims->setCurrentIndex(sims->findText(QStringLiteral("All with: Pink gorilla hands")));
        QCOMPARE(window.chosenFiles().size(), std::size_t(pink));
        machine->dialogs.shown.clear();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        for (QAction* action : child<QPushButton>(&window, "cmdBatch")->menu()->actions())
            if (action->text() == QStringLiteral("Remove &Pink Gorilla Formal Hands")) action->trigger();
        QCOMPARE(machine->dialogs.shown.size(), std::size_t(2));
        QVERIFY(machine->dialogs.shown[0].text.rfind("Change " + std::to_string(pink) + " sims: remove the pink", 0) == 0);
        QCOMPARE(machine->dialogs.shown[1].title, std::string("Batch Report"));
        QCOMPARE(view.rowCount(), planted - pink);
        QVERIFY(window.model().filesWith(audit::ProblemKind::PinkHands).empty());

        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Ok};
        child<QPushButton>(&window, "cmdUndo")->click();
        QCOMPARE(view.rowCount(), planted);
        QCOMPARE(window.model().filesWith(audit::ProblemKind::PinkHands).size(), std::size_t(pink));

        // Opened from its row and saved without the pink hands, the sim's row is read again.
        child<QLineEdit>(&window, "txtFilter")->setText(QStringLiteral("PINK"));
        const QModelIndex pinkRow = view.index(0, static_cast<int>(audit::Column::Name));
        const QString pinkName = pinkRow.data().toString();
        machine->dialogs.replies = {MessageReply::Yes, MessageReply::Yes, MessageReply::Ok};
        testkit::whenShown<app::frmEditSim>([](app::frmEditSim* editor) {
            child<QPushButton>(editor, "cmdNormalFormalHands")->click();
            child<QPushButton>(editor, "cmdSave")->click();
        });
        auto* grid = child<QTableView>(&window, "grdSims");
        grid->setCurrentIndex(pinkRow);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(view.rowCount(), pink - 1);
        QVERIFY(view.rowCount() == 0 || view.index(0, static_cast<int>(audit::Column::Name)).data().toString() != pinkName);
        child<QLineEdit>(&window, "txtFilter")->clear();

        const std::string csv = window.exportText(false);
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), std::ptrdiff_t(planted));
    }
};

QTEST_MAIN(WardrobeOverviewTest)
#include "wardrobe_overview_test.moc"
