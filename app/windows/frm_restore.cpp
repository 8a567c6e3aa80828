#include "app/windows/frm_restore.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/widgets/controls.h"
#include "app/windows/frm_batches.h"
#include "app/widgets/remembered_place.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

using namespace tools;

using platform::pathToQString;
using platform::toQString;

frmRestore::frmRestore(platform::Services& services, const shell::GameSession& session,
                       std::string simPath, QWidget* parent)
    : QDialog(parent), services_(services), model_(services, session, std::move(simPath)) {
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Restore Backup"));

    lblBackups = named(new QLabel(this), "lblBackups");
    lblBackups->setGeometry(8, 8, 604, 16);
    lstBackups = named(new QTreeWidget(this), "lstBackups");
    lstBackups->setGeometry(8, 28, 604, 320);
    lstBackups->setRootIsDecorated(false);
    lstBackups->setHeaderLabels({QStringLiteral("Saved"), QStringLiteral("File"),
                                 QStringLiteral("Neighbourhood"), QStringLiteral("Sim")});
    lstBackups->setColumnWidth(0, 150);
    lstBackups->setColumnWidth(1, 120);
    lstBackups->setColumnWidth(2, 120);
    chkAllSims = named(new QCheckBox(QStringLiteral("Show Backups Of &All Sims"), this), "chkAllSims");
    chkAllSims->setGeometry(8, 362, 260, 24);
    cmdBatches = named(new QPushButton(QStringLiteral("&Batches ..."), this), "cmdBatches");
    cmdBatches->setGeometry(320, 360, 92, 28);
    cmdRestore = named(new QPushButton(QStringLiteral("Restore"), this), "cmdRestore");
    cmdRestore->setGeometry(420, 360, 92, 28);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdCancel->setGeometry(520, 360, 92, 28);

    // The backup list takes what the window grows by; its last column, the sim, stretches.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    column->addWidget(lblBackups);
    column->addWidget(lstBackups, 1);
    column->addSpacing(8);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkAllSims);
    buttons->addStretch();
    for (QPushButton* b : {cmdBatches, cmdRestore, cmdCancel}) {
        b->setMinimumSize(b->size());
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    setMinimumSize(620, 400);
    resize(620, 400);
    app::rememberPlace(this, services.settings);
    showRows();

    connect(chkAllSims, &QCheckBox::toggled, this, [this](bool all) {
        model_.setShowAll(all);
        showRows();
    });
    connect(lstBackups, &QTreeWidget::itemSelectionChanged, this,
            [this] { cmdRestore->setEnabled(lstBackups->currentItem() != nullptr); });
    connect(lstBackups, &QTreeWidget::itemDoubleClicked, this, &frmRestore::cmdRestore_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmRestore::cmdRestore_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdBatches, &QPushButton::clicked, this, [this] {
        frmBatches batches(services_, this);
        batches.exec();
        // Files put back by a batch's undo are a restore too: the main window redraws them.
        if (batches.undoneAny()) accept();
    });
}

void frmRestore::showRows() {
    lblBackups->setText(pathToQString(model_.heading()));
    chkAllSims->blockSignals(true);
    chkAllSims->setChecked(model_.showAll());
    chkAllSims->setEnabled(model_.hasSim());
    chkAllSims->blockSignals(false);
    lstBackups->clear();
    for (const auto& b : model_.rows()) {
        auto* item = new QTreeWidgetItem(lstBackups);
        item->setText(0, toQString(timeText(b.time) + (b.copy > 1 ? " (" + std::to_string(b.copy) + ")" : "")));
        item->setText(1, toQString(b.characterFileName()));
        item->setText(2, pathToQString(b.neighbourhood));
        item->setText(3, toQString(b.simName()));
        item->setToolTip(0, pathToQString(b.path));
    }
    if (lstBackups->topLevelItemCount() > 0) lstBackups->setCurrentItem(lstBackups->topLevelItem(0));
    cmdRestore->setEnabled(lstBackups->currentItem() != nullptr);
}

void frmRestore::cmdRestore_Click() {
    auto* item = lstBackups->currentItem();
    if (!item) return;
    if (model_.restore(static_cast<std::size_t>(lstBackups->indexOfTopLevelItem(item)))) accept();
}

}  // namespace drapeline::app
