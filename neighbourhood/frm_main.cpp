#include "neighbourhood/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/version.h"
#include "app/widgets/picture_box.h"
#include "neighbourhood/frm_set_path.h"
#include "platform/qt/latin1.h"

namespace drapeline::neighbourhood {

using platform::toQString;

namespace {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
    auto* l = named(new QLabel(QString::fromLatin1(caption), parent), name);
    l->setGeometry(x, y, w, 16);
    return l;
}

// The window is 8610 twips high: 574 pixels at 15 twips a pixel, frame included.
constexpr int ClientWidth = 773;
constexpr int ClientHeight = 548;
constexpr int SmallScreenHeight = 640;   // 9600 twips

}  // namespace

frmMain::frmMain(platform::Services& services, std::string& gameLocation, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      gameLocation_(gameLocation),
      model_(services, gameLocation) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Load Sim - Select A Sim To Work On"));
    buildControls();
    buildMenus();

    model_.onNeighbourhoodChosen = [this] { neighbourhoodChosen(); };
    model_.Form_Load();
    smenuBackup->setChecked(model_.backupChecked());
}

void frmMain::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    // Two lines under the menu bar give it the etched edge of the classic look.
    Line1 = named(new QFrame(client), "Line1");
    Line1->setGeometry(0, 0, ClientWidth, 1);
    Line1->setStyleSheet(QStringLiteral("background: palette(dark);"));
    Line2 = named(new QFrame(client), "Line2");
    Line2->setGeometry(0, 1, ClientWidth, 1);
    Line2->setStyleSheet(QStringLiteral("background: palette(light);"));

    lblBody = label(client, "lblBody", "Selected Neighborhood", 8, 8, 261);
    lstUserDataDir = named(new QListWidget(client), "lstUserDataDir");
    lstUserDataDir->setGeometry(8, 26, 265, 104);
    lstUserDataDir->setSortingEnabled(false);   // the model already gives the sorted order

    Label1 = label(client, "Label1", "Selected Sim Name", 8, 138, 261);
    txtSimName = named(new QLineEdit(client), "txtSimName");
    txtSimName->setGeometry(8, 156, 265, 23);
    txtSimName->setReadOnly(true);

    Label3 = label(client, "Label3", "Selected Sim Images", 8, 188, 261);
    picSim = named(app::PictureBox::framed(client, QRect(10, 208, 261, 261)), "picSim");

    cmdSelect = named(new QPushButton(QStringLiteral("Edit This Sim"), client), "cmdSelect");
    cmdSelect->setGeometry(8, 479, 265, 29);

    Label2 = label(client, "Label2", "Sims In The Selected Neighborhood", 280, 8, 481);
    picThumbs = named(app::PictureBox::framed(client, QRect(282, 28, 481, 481)), "picThumbs");

    cmdPrevious = named(new QPushButton(QStringLiteral("Previous"), client), "cmdPrevious");
    cmdPrevious->setGeometry(414, 517, 57, 23);
    txtPageCount = named(new QLineEdit(client), "txtPageCount");
    txtPageCount->setGeometry(482, 517, 81, 23);
    txtPageCount->setReadOnly(true);
    txtPageCount->setAlignment(Qt::AlignCenter);
    cmdNext = named(new QPushButton(QStringLiteral("Next"), client), "cmdNext");
    cmdNext->setGeometry(574, 517, 57, 23);

    cmdFocus = named(new QPushButton(QStringLiteral("Focus"), client), "cmdFocus");
    cmdFocus->setGeometry(8, ClientHeight + 40, 60, 23);   // out of view, takes the focus

    picSim->clear();
    picThumbs->clear();

    connect(lstUserDataDir, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) {
                if (refreshingList_ || !item) return;
                model_.lstUserDataDir_Click(platform::fromQString(item->text()));
            });
}

void frmMain::buildMenus() {
    QMenu* menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    smenuExit = named(menuFile->addAction(QStringLiteral("E&xit")), "smenuExit");
    connect(smenuExit, &QAction::triggered, this, &QWidget::close);

    QMenu* menuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    menuOptions->setObjectName(QStringLiteral("menuOptions"));
    smenuBackup = named(menuOptions->addAction(QStringLiteral("&Create Backup File")), "smenuBackup");
    smenuBackup->setCheckable(true);
    connect(smenuBackup, &QAction::triggered, this, [this] {
        model_.smenuBackup_Click();
        smenuBackup->setChecked(model_.backupChecked());
    });
    smenuSetPath = named(menuOptions->addAction(QStringLiteral("&Set Path ...")), "smenuSetPath");
    connect(smenuSetPath, &QAction::triggered, this, &frmMain::smenuSetPath_Click);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activatedOnce_) return;
    activatedOnce_ = true;
    // After the window is on screen, so that its messages stand over it.
    QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

void frmMain::Form_Activate() {
    if (const QScreen* screen = this->screen();
        screen && screen->availableGeometry().height() < SmallScreenHeight)
        move(x(), 0);
    setWindowTitle(QString::fromStdString(titleCaption() + " - by Ardentide"));
    model_.Form_Activate();
    showNeighbourhoodList();
}

void frmMain::showNeighbourhoodList() {
    refreshingList_ = true;
    lstUserDataDir->clear();
    for (const auto& line : model_.listLines()) {
        auto* item = new QListWidgetItem(toQString(line), lstUserDataDir);
        if (line == model_.selectedLine()) lstUserDataDir->setCurrentItem(item);
    }
    refreshingList_ = false;
}

void frmMain::neighbourhoodChosen() {
    picSim->clear();
    txtSimName->clear();
    // The thumbnail pages of the chosen neighbourhood are drawn here (page CurrentPage).
}

void frmMain::smenuSetPath_Click() {
    focusAway();
    const std::string before = gameLocation_;
    frmSetPath dialog(services_, gameLocation_, this);
    if (dialog.exec() == QDialog::Accepted && gameLocation_ != before)
        model_.gameLocationChanged();
    Form_Activate();
}

void frmMain::focusAway() { cmdFocus->setFocus(Qt::OtherFocusReason); }

void frmMain::closeWithoutAsking() {
    askBeforeClosing_ = false;
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (askBeforeClosing_ && !qApp->isSavingSession() &&
        !services_.dialogs.confirm("Exit this program?")) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace drapeline::neighbourhood
