#include "app/windows/frm_batches.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/widgets/busy_pointer.h"
#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

using platform::toQString;

bool undoAfterAsking(platform::Services& services, const audit::BatchRecord& record) {
    if (!services.dialogs.confirm("Undo the batch of " + record.time + " (" + record.action + ", " +
                                  std::to_string(record.files.size()) +
                                  " files)? Each file is put back as it was before the batch.\r\n\r\nAre You Sure?"))
        return false;
    audit::UndoResult result;
    {
        app::BusyPointer busy;
        result = audit::undoBatch(record, services.programFolder, services.clock);
    }
    services.dialogs.inform(audit::undoReport(record, result), "Undo Batch");
    return true;
}

frmBatches::frmBatches(platform::Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmBatches"));
    setWindowTitle(QStringLiteral("Restore Batch"));
    resize(640, 360);
    auto* layout = new QVBoxLayout(this);
    lstBatches = named(new QTreeWidget(this), "lstBatches");
    lstBatches->setRootIsDecorated(false);
    lstBatches->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Change"), QStringLiteral("Neighbourhood"),
                                 QStringLiteral("Files"), QStringLiteral("State")});
    lstBatches->setColumnWidth(0, 140);
    lstBatches->setColumnWidth(1, 260);
    layout->addWidget(lstBatches, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdUndo = named(new QPushButton(QStringLiteral("&Undo Batch"), this), "cmdUndo");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    buttons->addWidget(cmdUndo);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdUndo, &QPushButton::clicked, this, &frmBatches::cmdUndo_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstBatches, &QTreeWidget::itemSelectionChanged, this, [this] {
        const int i = lstBatches->indexOfTopLevelItem(lstBatches->currentItem());
        cmdUndo->setEnabled(i >= 0 && !rows_.at(static_cast<std::size_t>(i)).undone);
    });
    showRows();
}

void frmBatches::showRows() {
    rows_ = audit::listBatches(services_.programFolder);
    lstBatches->clear();
    for (const auto& r : rows_) {
        auto* item = new QTreeWidgetItem(lstBatches);
        item->setText(0, toQString(r.time));
        item->setText(1, toQString(r.action));
        item->setText(2, platform::pathToQString(r.neighbourhood));
        item->setText(3, QString::number(r.files.size()));
        item->setText(4, r.undone ? QStringLiteral("undone") : QString());
        item->setToolTip(0, platform::pathToQString(r.path));
    }
    if (lstBatches->topLevelItemCount() > 0) lstBatches->setCurrentItem(lstBatches->topLevelItem(0));
    cmdUndo->setEnabled(!rows_.empty() && !rows_.front().undone);
}

bool frmBatches::cmdUndo_Click() {
    const int i = lstBatches->indexOfTopLevelItem(lstBatches->currentItem());
    if (i < 0 || rows_.at(static_cast<std::size_t>(i)).undone) return false;
    const bool done = undoAfterAsking(services_, rows_.at(static_cast<std::size_t>(i)));
    undoneAny_ = undoneAny_ || done;
    showRows();
    return done;
}

}  // namespace drapeline::app
