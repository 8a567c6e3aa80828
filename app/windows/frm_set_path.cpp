#include "app/windows/frm_set_path.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/widgets/controls.h"
#include "app/widgets/remembered_place.h"
#include "platform/qt/latin1.h"

namespace drapeline::app {

using namespace neighbourhood;

using platform::pathFromQString;
using platform::pathToQString;

namespace {

const char* const NoteText =
    "Note: Drapeline uses the InstallPath registry entry as the default location for The "
    "Sims. This is correct 95% of the time. Some non-English versions of The Sims do not "
    "have the InstallPath registry key. If the location of The Sims can not be determine "
    "from the registry, this window will allow you to set the path manually. Object "
    "creators who run multiple copies of The Sims can use this window to point Drapeline "
    "at the desired copy.";

}  // namespace

frmSetPath::frmSetPath(platform::Services& services, shell::GameSession& session, QWidget* parent)
    : QDialog(parent), model_(services, session) {
    setObjectName(QStringLiteral("frmSetPath"));
    setWindowTitle(QStringLiteral("Set The Sims Path"));

    registryCaption = named(new QLabel(QStringLiteral("Location of The Sims found in the registry:"), this), "Label2");
    registryCaption->setGeometry(8, 8, 400, 16);
    txtRegistry = app::readOnlyField(this, "txtRegistry", QRect(8, 26, 384, 23));
    cmdUseReg = named(new QPushButton(QStringLiteral("Use"), this), "cmdUseReg");
    cmdUseReg->setGeometry(400, 25, 72, 25);

    usedCaption = named(new QLabel(QStringLiteral("Location of The Sims used by Drapeline:"), this), "Label3");
    usedCaption->setGeometry(8, 60, 400, 16);
    txtLocation = named(new QLineEdit(this), "txtLocation");
    txtLocation->setGeometry(8, 78, 384, 23);
    cmdFindPath = named(new QPushButton(QStringLiteral("Find"), this), "cmdFindPath");
    cmdFindPath->setGeometry(400, 77, 72, 25);

    noteLabel = named(new QLabel(QString::fromLatin1(NoteText), this), "Label1");
    noteLabel->setGeometry(8, 112, 464, 92);
    noteLabel->setWordWrap(true);
    noteLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setGeometry(304, 214, 80, 27);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdCancel->setGeometry(392, 214, 80, 27);

    // Wider, the two folders show more of themselves; taller, the note has room.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(registryCaption, 0, 0, 1, 2);
    grid->addWidget(txtRegistry, 1, 0);
    grid->addWidget(cmdUseReg, 1, 1);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(usedCaption, 3, 0, 1, 2);
    grid->addWidget(txtLocation, 4, 0);
    grid->addWidget(cmdFindPath, 4, 1);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(noteLabel, 6, 0, 1, 2);
    grid->setRowStretch(6, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 7, 0, 1, 2);
    for (QPushButton* b : {cmdUseReg, cmdFindPath, cmdOK, cmdCancel}) b->setMinimumSize(b->size());
    noteLabel->setMinimumHeight(92);
    setMinimumSize(480, 250);
    resize(480, 250);
    cmdFocus = app::offViewFocusButton(this, QStringLiteral("Command1"), QRect(8, 400, 80, 27));
    app::rememberPlace(this, services.settings);

    model_.onChange([this] { showFields(); });
    model_.load();

    connect(cmdUseReg, &QPushButton::clicked, this, [this] {
        focusAway();
        readFields();
        model_.useRegistry();
    });
    connect(cmdFindPath, &QPushButton::clicked, this, [this] {
        focusAway();
        readFields();
        model_.findPath();
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        focusAway();
        readFields();
        if (model_.accept()) accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        focusAway();
        reject();
    });
}

void frmSetPath::showLocationInUse(const std::string& folder) {
    model_.setLocation(folder);
}

void frmSetPath::focusAway() { cmdFocus->setFocus(Qt::OtherFocusReason); }

void frmSetPath::showFields() {
    txtRegistry->setText(pathToQString(model_.registryLocation()));
    txtLocation->setText(pathToQString(model_.location()));
}

void frmSetPath::readFields() { model_.setLocation(pathFromQString(txtLocation->text())); }

}  // namespace drapeline::app
