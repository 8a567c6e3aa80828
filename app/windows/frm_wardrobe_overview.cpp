#include "app/windows/frm_wardrobe_overview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/widgets/busy_pointer.h"
#include "app/widgets/controls.h"
#include "app/windows/frm_batches.h"
#include "app/windows/frm_edit_sim.h"
#include "audit/audit_export.h"
#include "ensembles/ensemble_file.h"
#include "platform/files.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

using audit::Column;
using audit::Mark;
using platform::toQString;

namespace {

// A round mark in the colour of a cell's state; nothing for an outfit the file can not hold.
QIcon markIcon(Mark mark) {
    static const auto make = [](QColor colour) {
        QPixmap dot(12, 12);
        dot.fill(Qt::transparent);
        QPainter p(&dot);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colour.darker(140));
        p.setBrush(colour);
        p.drawEllipse(1, 1, 10, 10);
        return QIcon(dot);
    };
    static const QIcon ok = make(QColor(70, 170, 80)), problem = make(QColor(210, 50, 45)),
                       empty = make(QColor(190, 190, 190));
    switch (mark) {
    case Mark::Ok: return ok;
    case Mark::Problem: return problem;
    case Mark::Empty: return empty;
    case Mark::NotHeld: break;
    }
    return {};
}

bool marked(Column c) { return c >= Column::Normal; }

constexpr int LoadStep = 20;   // rows a tick: small enough that the window never stalls

}  // namespace

OverviewTable::OverviewTable(audit::OverviewModel& model, QObject* parent) : QAbstractTableModel(parent), model_(model) {
    model_.rowsAdded = [this](std::size_t first, std::size_t last) {
        beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
        endInsertRows();
    };
    model_.rowChanged = [this](std::size_t row) {
        portraits_.remove(static_cast<int>(row));
        emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), audit::ColumnCount - 1));
    };
}

int OverviewTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(model_.rows().size());
}

int OverviewTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : audit::ColumnCount; }

QVariant OverviewTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<Column>(index.column());
    switch (role) {
    case Qt::DisplayRole: return toQString(model_.text(row, column));
    case SortRole: return toQString(model_.text(row, column)).toLower();
    case Qt::ToolTipRole: {
        const std::string tip = model_.tooltip(row, column);
        return tip.empty() ? QVariant() : QVariant(toQString(tip));
    }
    case Qt::DecorationRole:
        if (column == Column::Portrait) {
            auto found = portraits_.find(index.row());
            if (found == portraits_.end()) {
                QImage image;
                const ByteText& bytes = model_.rows()[row].portrait;
                image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
                // The web image's front half, as the main window's thumbnails show it.
                const QImage front = image.isNull() ? image : image.copy(0, 0, image.width() / 2, image.height());
                found = portraits_.insert(index.row(), front.isNull() ? QPixmap()
                                                                      : QPixmap::fromImage(front.scaledToHeight(30, Qt::SmoothTransformation)));
            }
            return found->isNull() ? QVariant() : QVariant(*found);
        }
        if (marked(column)) return markIcon(model_.mark(row, column));
        return {};
    case Qt::ForegroundRole:
        if (column == Column::Problems) return QColor(170, 30, 25);
        return {};
    default: return {};
    }
}

QVariant OverviewTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return toQString(audit::OverviewModel::header(static_cast<Column>(section)));
}

OverviewFilter::OverviewFilter(const audit::OverviewModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setSortRole(OverviewTable::SortRole);
}

void OverviewFilter::setFilter(const std::string& text, bool onlyProblems) {
    filter_ = text;
    onlyProblems_ = onlyProblems;
    invalidateFilter();
}

bool OverviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return sourceRow >= 0 && static_cast<std::size_t>(sourceRow) < model_.rows().size() &&
           model_.accepts(static_cast<std::size_t>(sourceRow), filter_, onlyProblems_);
}

frmWardrobeOverview::frmWardrobeOverview(platform::Services& services, shell::GameSession& session,
                                         std::function<bool()> backupChecked, QWidget* parent)
    : QDialog(parent), services_(services), session_(session), backupChecked_(std::move(backupChecked)) {
    setObjectName(QStringLiteral("frmWardrobeOverview"));
    setWindowTitle(QStringLiteral("Wardrobe Overview - ") + platform::pathToQString(session_.neighbourhood()));
    resize(1180, 640);
    table_ = new OverviewTable(model_, this);
    filter_ = new OverviewFilter(model_, this);
    filter_->setSourceModel(table_);
    loader_ = new QTimer(this);
    loader_->setInterval(0);
    buildControls();
    connect(loader_, &QTimer::timeout, this, &frmWardrobeOverview::loadSome);
    if (!session_.neighbourhood().empty()) {
        model_.start(session_.gameFolder(), session_.neighbourhood());
        loader_->start();
    }
    showStatus();
}

void frmWardrobeOverview::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* filterCaption = new QLabel(QStringLiteral("&Filter:"), this);
    txtFilter = named(new QLineEdit(this), "txtFilter");
    txtFilter->setPlaceholderText(QStringLiteral("name, file, mesh, texture or problem"));
    txtFilter->setClearButtonEnabled(true);
    filterCaption->setBuddy(txtFilter);
    chkProblemsOnly = named(new QCheckBox(QStringLiteral("Show only &problems"), this), "chkProblemsOnly");
    top->addWidget(filterCaption);
    top->addWidget(txtFilter, 1);
    top->addWidget(chkProblemsOnly);
    layout->addLayout(top);

    grdSims = named(new QTableView(this), "grdSims");
    grdSims->setModel(filter_);
    grdSims->setSortingEnabled(true);
    grdSims->sortByColumn(-1, Qt::AscendingOrder);
    grdSims->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSims->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdSims->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSims->setAlternatingRowColors(true);
    grdSims->setWordWrap(false);
    // A long "mesh / texture" keeps both ends: the mesh's kind and the texture's skin tone.
    grdSims->setTextElideMode(Qt::ElideMiddle);
    grdSims->verticalHeader()->setDefaultSectionSize(34);
    grdSims->horizontalHeader()->setDefaultSectionSize(150);
    grdSims->setColumnWidth(static_cast<int>(Column::Portrait), 30);
    grdSims->setColumnWidth(static_cast<int>(Column::Problems), 170);
    for (const Column c : {Column::Age, Column::Gender, Column::SkinTone, Column::BodyType})
        grdSims->setColumnWidth(static_cast<int>(c), 70);
    grdSims->setColumnWidth(static_cast<int>(Column::Name), 90);
    grdSims->setColumnWidth(static_cast<int>(Column::File), 110);
    grdSims->installEventFilter(this);
    layout->addWidget(grdSims, 1);

    auto* bottom = new QHBoxLayout;
    auto* simsCaption = new QLabel(QStringLiteral("&Sims:"), this);
    cboSims = named(new QComboBox(this), "cboSims");
    cboSims->addItem(QStringLiteral("Selected rows"));
    for (const auto kind : audit::AllProblemKinds)
        cboSims->addItem(QStringLiteral("All with: ") + QString::fromLatin1(audit::kindCaption(kind)),
                         static_cast<int>(kind));
    simsCaption->setBuddy(cboSims);
    cmdBatch = named(new QPushButton(QStringLiteral("&Change ..."), this), "cmdBatch");
    auto* batchMenu = new QMenu(cmdBatch);
    const auto add = [&](QMenu* menu, const QString& caption, audit::BatchAction action) {
        connect(menu->addAction(caption), &QAction::triggered, this, [this, action] { runBatch(action); });
    };
    connect(batchMenu->addAction(QStringLiteral("Load &Ensemble ...")), &QAction::triggered, this,
            &frmWardrobeOverview::chooseEnsemble);
    QMenu* defaults = batchMenu->addMenu(QStringLiteral("Set &Default Outfit"));
    for (const auto kind : wardrobe::AllOutfits)
        if (kind != wardrobe::OutfitKind::Normal)
            add(defaults, QString::fromLatin1(wardrobe::outfitCaption(kind)), {audit::BatchAction::SetDefault, kind, {}});
    add(batchMenu, QStringLiteral("&Fix Fit"), {audit::BatchAction::FixFit, {}, {}});
    add(batchMenu, QStringLiteral("Remove &Pink Gorilla Formal Hands"), {audit::BatchAction::RemovePinkHands, {}, {}});
    add(batchMenu, QStringLiteral("&Match Skin Tone"), {audit::BatchAction::MatchTone, {}, {}});
    cmdBatch->setMenu(batchMenu);
    cmdUndo = named(new QPushButton(QStringLiteral("&Undo Last Batch"), this), "cmdUndo");
    cmdExport = named(new QPushButton(QStringLiteral("E&xport"), this), "cmdExport");
    auto* exportMenu = new QMenu(cmdExport);
    connect(exportMenu->addAction(QStringLiteral("As &CSV ...")), &QAction::triggered, this, [this] { exportRows(false); });
    connect(exportMenu->addAction(QStringLiteral("As &JSON ...")), &QAction::triggered, this, [this] { exportRows(true); });
    cmdExport->setMenu(exportMenu);
    cmdStop = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdStop");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    bottom->addWidget(simsCaption);
    bottom->addWidget(cboSims);
    bottom->addWidget(cmdBatch);
    bottom->addWidget(cmdUndo);
    bottom->addWidget(cmdExport);
    bottom->addStretch(1);
    bottom->addWidget(cmdStop);
    bottom->addWidget(cmdClose);
    layout->addLayout(bottom);
    lblStatus = named(new QLabel(this), "lblStatus");
    layout->addWidget(lblStatus);

    const auto refilter = [this] {
        filter_->setFilter(platform::fromQString(txtFilter->text()), chkProblemsOnly->isChecked());
        showStatus();
    };
    connect(txtFilter, &QLineEdit::textChanged, this, refilter);
    connect(chkProblemsOnly, &QCheckBox::toggled, this, refilter);
    connect(grdSims, &QTableView::doubleClicked, this, &frmWardrobeOverview::openSim);
    connect(cmdUndo, &QPushButton::clicked, this, &frmWardrobeOverview::cmdUndo_Click);
    connect(cmdStop, &QPushButton::clicked, this, [this] {
        model_.cancel();
        showStatus();
    });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

void frmWardrobeOverview::loadSome() {
    if (!model_.loadMore(LoadStep)) loader_->stop();
    showStatus();
}

void frmWardrobeOverview::loadAll() {
    while (model_.loadMore(LoadStep)) {}
    loader_->stop();
    showStatus();
}

void frmWardrobeOverview::showStatus() {
    std::string text = model_.status();
    if (filter_->rowCount() != table_->rowCount())
        text += "; " + std::to_string(filter_->rowCount()) + " shown";
    lblStatus->setText(toQString(text));
    cmdStop->setEnabled(model_.loading());
}

bool frmWardrobeOverview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grdSims && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSim(grdSims->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmWardrobeOverview::openSim(const QModelIndex& index) {
    if (!index.isValid()) return;
    const auto row = static_cast<std::size_t>(filter_->mapToSource(index).row());
    const audit::SimRow sim = model_.rows().at(row);
    if (!sim.readable()) return;
    {
        frmEditSim editor(services_, session_, backupChecked_, this);
        if (editor.openSim(sim.path)) editor.exec();
    }
    model_.refresh({sim.file});
    showStatus();
}

std::vector<std::string> frmWardrobeOverview::chosenFiles() const {
    if (cboSims->currentIndex() > 0)
        return model_.filesWith(static_cast<audit::ProblemKind>(cboSims->currentData().toInt()));
    std::vector<int> rows;
    for (const QModelIndex& index : grdSims->selectionModel()->selectedRows())
        rows.push_back(filter_->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> files;
    for (const int row : rows) files.push_back(model_.rows().at(static_cast<std::size_t>(row)).file);
    return files;
}

void frmWardrobeOverview::runBatch(const audit::BatchAction& action) {
    // "All with" a problem means every sim of the neighbourhood, not the ones read so far.
    if (cboSims->currentIndex() > 0 && model_.loading()) loadAll();
    const std::vector<std::string> files = chosenFiles();
    if (files.empty()) {
        services_.dialogs.inform(cboSims->currentIndex() > 0
                                     ? "No sim of the table has this problem."
                                     : "Choose the sims to change first: select their rows, or pick a problem under Sims.",
                                 "Wardrobe Overview");
        return;
    }
    if (!services_.dialogs.confirm(audit::batchQuestion(action, files.size()))) return;
    audit::BatchResult result;
    {
        app::BusyPointer busy;
        result = audit::runBatchChange({model_.gameLocation(), model_.neighbourhood(), services_.programFolder}, files,
                                       action, services_.clock);
    }
    model_.refresh(result.changed);
    showStatus();
    services_.dialogs.inform(audit::batchReport(result), "Batch Report");
}

void frmWardrobeOverview::cmdUndo_Click() {
    const auto record = audit::lastBatch(services_.programFolder);
    if (!record) {
        services_.dialogs.inform("There is no batch to undo.", "Undo Last Batch");
        return;
    }
    if (!undoAfterAsking(services_, *record)) return;
    std::vector<std::string> files;
    for (const auto& file : record->files) files.push_back(platform::fileNameOf(file.path));
    model_.refresh(files);
    showStatus();
}

void frmWardrobeOverview::chooseEnsemble() {
    const auto names = ensembles::listEnsembleFiles(services_.programFolder);
    if (names.empty()) {
        services_.dialogs.inform("There are no ensemble files to load yet.", "Load Ensemble");
        return;
    }
    QStringList items;
    for (const auto& n : names) items << platform::pathToQString(n);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, QStringLiteral("Load Ensemble"), QStringLiteral("Ensemble:"),
                                                 items, 0, false, &ok);
    if (!ok) return;
    audit::BatchAction action{audit::BatchAction::LoadEnsemble, {}, {}};
    action.ensemblePath = platform::joinPath(ensembles::ensembleFolder(services_.programFolder),
                                             platform::pathFromQString(chosen));
    runBatch(action);
}

std::string frmWardrobeOverview::exportText(bool json) const {
    std::vector<audit::SimRow> rows;
    for (int i = 0; i < filter_->rowCount(); ++i)
        rows.push_back(model_.rows().at(static_cast<std::size_t>(filter_->mapToSource(filter_->index(i, 0)).row())));
    return json ? audit::rowsJson(rows) : audit::rowsCsv(rows);
}

void frmWardrobeOverview::exportRows(bool json) {
    if (model_.loading()) loadAll();
    const QString suggested = platform::pathToQString(
        platform::joinPath(services_.programFolder, model_.neighbourhood() + (json ? ".json" : ".csv")));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export"), suggested,
                                                      json ? QStringLiteral("JSON (*.json)") : QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    try {
        platform::writeFile(platform::pathFromQString(path), exportText(json));
    } catch (const RuntimeError& e) {
        services_.dialogs.warn("The table could not be exported: " + e.textWithReason(), "Export");
    }
}

}  // namespace drapeline::app
