#include "app/windows/frm_enx.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/widgets/controls.h"
#include "app/widgets/remembered_place.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

using namespace ensembles;

using platform::pathFromQString;
using platform::pathToQString;

frmENX::frmENX(platform::Services& services, wardrobe::WardrobeFields fields,
               wardrobe::WardrobeLayout layout, EnsembleMode mode, QWidget* parent)
    : QDialog(parent), model_(services, std::move(fields), layout, mode) {
    setObjectName(QStringLiteral("frmENX"));
    setWindowTitle(QString::fromStdString(model_.caption()));

    flbENX = named(new QListWidget(this), "flbENX");
    flbENX->setGeometry(8, 8, 284, 192);
    txtFileName = named(new QLineEdit(this), "txtFileName");
    txtFileName->setGeometry(8, 226, 284, 23);
    auto* lblFileName = named(new QLabel(QStringLiteral("File &name:"), this), "lblFileName");
    lblFileName->setGeometry(8, 205, 284, 18);
    lblFileName->setBuddy(txtFileName);
    cmdSaveLoad = named(new QPushButton(QStringLiteral("&") + QString::fromStdString(model_.actionCaption()), this), "cmdSaveLoad");
    cmdSaveLoad->setGeometry(8, 260, 88, 28);
    cmdSaveLoad->setDefault(true);
    cmdDelete = named(new QPushButton(QStringLiteral("Delete"), this), "cmdDelete");
    cmdDelete->setGeometry(106, 260, 88, 28);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdCancel->setGeometry(204, 260, 88, 28);

    // The file list takes what the window grows by.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    column->addWidget(flbENX, 1);
    column->addWidget(lblFileName);
    column->addWidget(txtFileName);
    column->addSpacing(6);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    for (QPushButton* b : {cmdSaveLoad, cmdDelete, cmdCancel}) {
        b->setMinimumSize(b->size());
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    setMinimumSize(300, 300);
    resize(300, 300);
    cmdFocus = app::offViewFocusButton(this, QStringLiteral("Focus"), QRect(8, 340, 60, 23));
    app::rememberPlace(this, services.settings);
    showFiles();
    // The name box first, and empty: a list that took the focus would make its first file
    // current and offer that name, so an Enter out of habit would overwrite it.
    setTabOrder(txtFileName, flbENX);
    txtFileName->setFocus(Qt::OtherFocusReason);

    // A click, or the arrow keys making a line current.
    connect(flbENX, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!item) return;
        model_.chooseFile(pathFromQString(item->text()));
        txtFileName->setText(pathToQString(model_.fileName()));
    });
    connect(flbENX, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { saveOrLoad(); });
    connect(cmdSaveLoad, &QPushButton::clicked, this, &frmENX::saveOrLoad);
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        const app::FocusAway away(cmdFocus);
        model_.setFileName(pathFromQString(txtFileName->text()));
        if (model_.deleteChosen()) showFiles();
        txtFileName->setText(pathToQString(model_.fileName()));
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmENX::saveOrLoad() {
    bool close = false;
    {
        // Back where the user was when the window stays open, to type another name.
        const app::FocusAway away(cmdFocus);
        model_.setFileName(pathFromQString(txtFileName->text()));
        close = model_.saveOrLoad();
        txtFileName->setText(pathToQString(model_.fileName()));
    }
    if (close) accept();
}

void frmENX::showFiles() {
    flbENX->clear();
    for (const auto& name : model_.files()) flbENX->addItem(pathToQString(name));
}

}  // namespace drapeline::app
