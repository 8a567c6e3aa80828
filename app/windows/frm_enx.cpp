#include "app/windows/frm_enx.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"

namespace drapeline::ensembles {

using app::named;

using platform::pathFromQString;
using platform::pathToQString;

frmENX::frmENX(platform::Services& services, wardrobe::WardrobeFields& fields,
               wardrobe::WardrobeLayout layout, EnsembleMode mode, QWidget* parent)
    : QDialog(parent), model_(services, fields, layout, mode) {
    setObjectName(QStringLiteral("frmENX"));
    setWindowTitle(QString::fromStdString(model_.caption()));
    setFixedSize(300, 300);

    flbENX = named(new QListWidget(this), "flbENX");
    flbENX->setGeometry(8, 8, 284, 210);
    txtFileName = named(new QLineEdit(this), "txtFileName");
    txtFileName->setGeometry(8, 226, 284, 23);
    cmdSaveLoad = named(new QPushButton(QString::fromStdString(model_.actionCaption()), this), "cmdSaveLoad");
    cmdSaveLoad->setGeometry(8, 260, 88, 28);
    cmdSaveLoad->setDefault(true);
    cmdDelete = named(new QPushButton(QStringLiteral("Delete"), this), "cmdDelete");
    cmdDelete->setGeometry(106, 260, 88, 28);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdCancel->setGeometry(204, 260, 88, 28);
    cmdFocus = app::offViewFocusButton(this, QStringLiteral("Focus"), QRect(8, 340, 60, 23));
    showFiles();

    // A click, or the arrow keys making a line current.
    connect(flbENX, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!item) return;
        model_.chooseFile(pathFromQString(item->text()));
        txtFileName->setText(pathToQString(model_.fileName()));
    });
    connect(flbENX, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { saveOrLoad(); });
    connect(cmdSaveLoad, &QPushButton::clicked, this, &frmENX::saveOrLoad);
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        focusAway();
        model_.setFileName(pathFromQString(txtFileName->text()));
        if (model_.deleteChosen()) showFiles();
        txtFileName->setText(pathToQString(model_.fileName()));
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmENX::saveOrLoad() {
    focusAway();
    model_.setFileName(pathFromQString(txtFileName->text()));
    const bool close = model_.saveOrLoad();
    txtFileName->setText(pathToQString(model_.fileName()));
    if (close) accept();
}

void frmENX::showFiles() {
    flbENX->clear();
    for (const auto& name : model_.files()) flbENX->addItem(pathToQString(name));
}

void frmENX::focusAway() { cmdFocus->setFocus(Qt::OtherFocusReason); }

}  // namespace drapeline::ensembles
