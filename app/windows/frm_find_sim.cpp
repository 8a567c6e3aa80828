#include "app/windows/frm_find_sim.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/widgets/controls.h"
#include "app/widgets/remembered_place.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

frmFindSim::frmFindSim(const std::string& lastText, platform::SettingsStore& settings, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmFindSim"));
    setWindowTitle(QStringLiteral("Find Sim"));

    auto* caption = new QLabel(QStringLiteral("&Name contains:"), this);
    txtFind = named(new QLineEdit(platform::toQString(lastText), this), "txtFind");
    txtFind->selectAll();
    caption->setBuddy(txtFind);
    cmdFindNext = named(new QPushButton(QStringLiteral("&Find Next"), this), "cmdFindNext");
    cmdFindNext->setDefault(true);
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdFindNext);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(txtFind);
    lblFound = named(new QLabel(this), "lblFound");
    layout->addWidget(lblFound);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    app::rememberPlace(this, settings);

    const auto find = [this] { emit findNext(platform::fromQString(txtFind->text())); };
    connect(cmdFindNext, &QPushButton::clicked, this, find);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, find);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFindSim::showResult(const QString& where) { lblFound->setText(where); }

}  // namespace drapeline::app
