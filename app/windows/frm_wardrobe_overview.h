#pragma once
// "Wardrobe Overview": every sim of the chosen neighbourhood in one sortable, filterable
// table with what each wears and what is wrong with it, batch changes on the chosen rows,
// their undo and the table's export. The rows, the rules and the batches live in
// audit::OverviewModel and audit/batch.h; this window shows them and forwards the clicks.

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>
#include <QPixmap>
#include <QSortFilterProxyModel>
#include <functional>

#include "audit/overview_model.h"
#include "platform/services.h"
#include "shell/game_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace drapeline::app {

// The overview's rows for a Qt view: texts, status marks, portraits and tooltips, all
// asked of the plain model.
class OverviewTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OverviewTable(audit::OverviewModel& model, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static constexpr int SortRole = Qt::UserRole + 1;

private:
    audit::OverviewModel& model_;
    mutable QHash<int, QPixmap> portraits_;
};

// Sorting by the cells' texts without regard to case, and the filter box and "Show only
// problems" as the plain model decides them.
class OverviewFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    OverviewFilter(const audit::OverviewModel& model, QObject* parent);
    void setFilter(const std::string& text, bool onlyProblems);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const audit::OverviewModel& model_;
    std::string filter_;
    bool onlyProblems_ = false;
};

class frmWardrobeOverview : public QDialog {
    Q_OBJECT
public:
    // `backupChecked`: the main window's "Create Backup File", for saves in the edit window.
    frmWardrobeOverview(platform::Services& services, shell::GameSession& session,
                        std::function<bool()> backupChecked, QWidget* parent);

    audit::OverviewModel& model() { return model_; }
    QSortFilterProxyModel& view() { return *filter_; }
    // Loads every row at once (tests, and an export asked for while loading).
    void loadAll();

    // The files a batch would change: the selected rows, or every row with the problem
    // chosen in cboSims.
    std::vector<std::string> chosenFiles() const;
    // The shown rows, in their shown order, as CSV or JSON.
    std::string exportText(bool json) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Asks once, runs the batch, reports and shows the changed rows again.
    void runBatch(const audit::BatchAction& action);
    void cmdUndo_Click();
    // Opens the sim of a table row in the edit window; its row is read again afterwards.
    void openSim(const QModelIndex& index);

private:
    void buildControls();
    void loadSome();
    void showStatus();
    void chooseEnsemble();
    void exportRows(bool json);

    platform::Services& services_;
    shell::GameSession& session_;
    std::function<bool()> backupChecked_;
    audit::OverviewModel model_;
    OverviewTable* table_;
    OverviewFilter* filter_;
    QTimer* loader_;

    QLineEdit* txtFilter;
    QCheckBox* chkProblemsOnly;
    QTableView* grdSims;
    QComboBox* cboSims;
    QPushButton* cmdBatch;
    QPushButton* cmdUndo;
    QPushButton* cmdExport;
    QPushButton* cmdStop;
    QPushButton* cmdClose;
    QLabel* lblStatus;
};

}  // namespace drapeline::app
