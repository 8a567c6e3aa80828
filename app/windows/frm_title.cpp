#include "app/windows/frm_title.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/artwork.h"
#include "shell/version.h"

namespace drapeline::app {

namespace {

const char* const NoticeText =
    "Drapeline lets you change what your sims wear: each of their six outfits and "
    "their hands, from the skins installed with The Sims and its expansion packs.\n\n"
    "Drapeline rewrites character files in your neighbourhoods. It keeps a dated backup "
    "of every sim it saves while \"Create Backup File\" is checked in the Options menu; "
    "still, keep your own copy of a neighbourhood you care about before you change it.\n\n"
    "Close The Sims before you save with Drapeline.\n\n"
    "The Sims is a trademark of its owners. Drapeline is an independent program and is "
    "not made or endorsed by them.";

}  // namespace

frmTitle::frmTitle(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmTitle"));
    setWindowTitle(QString::fromStdString(titleCaption()));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(8, 8, 396, 273);
    Picture1->setPixmap(QPixmap::fromImage(titleImage()));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(8, 289, 396, 96);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::ClickFocus);
    Text1->setPlainText(QString::fromUtf8(NoticeText));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(166, 393, 80, 27);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);   // outside a dialog, Enter needs this
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    // The picture keeps its size; the notice takes what the window grows by.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);
    Picture1->setMinimumSize(Picture1->size());
    Picture1->setAlignment(Qt::AlignCenter);
    column->addWidget(Picture1);
    Text1->setMinimumHeight(96);
    column->addWidget(Text1, 1);
    cmdOK->setFixedSize(cmdOK->size());
    column->addWidget(cmdOK, 0, Qt::AlignHCenter);
    setMinimumSize(412, 428);
    resize(412, 428);
}

void frmTitle::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        close();
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void frmTitle::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!closedOnce_) {
        closedOnce_ = true;
        emit closed();
    }
}

}  // namespace drapeline::app
