#include "app/windows/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <QToolTip>

#include "shell/thumb_grid.h"
#include "app/windows/frm_about.h"
#include "shell/version.h"
#include "app/widgets/busy_pointer.h"
#include "app/widgets/picture_box.h"
#include "app/widgets/remembered_place.h"
#include "app/widgets/shown_picture.h"
#include "core/errors.h"
#include "app/windows/frm_find_sim.h"
#include "app/windows/frm_set_path.h"
#include "neighbourhood/game_location.h"
#include "neighbourhood/listing.h"
#include "app/windows/frm_restore.h"
#include "app/windows/frm_batches.h"
#include "app/windows/frm_wardrobe_overview.h"
#include "tools/neighbourhood_tools.h"
#include "platform/files.h"
#include "app/widgets/controls.h"
#include "platform/qt/latin1.h"
#include "app/windows/frm_edit_sim.h"

namespace drapeline::app {

using namespace neighbourhood;

using platform::toQString;
namespace thumbgrid = shell::thumbgrid;

namespace {

QLabel* fixedLabel(QVBoxLayout* column, const char* name, const char* caption) {
    auto* l = named(new QLabel(QString::fromLatin1(caption)), name);
    l->setFixedHeight(16);
    column->addWidget(l);
    return l;
}

// The window is 8610 twips high: 574 pixels at 15 twips a pixel, frame included.
constexpr int ClientWidth = 773;
constexpr int ClientHeight = 548;
constexpr int SmallScreenHeight = 640;   // 9600 twips
constexpr int LeftColumnWidth = 276;
// The grid's square and the rows above and below it.
constexpr int GridSide = thumbgrid::AreaSize + 4;
constexpr int RightColumnExtra = 12;    // its margins beside the grid
constexpr int RightRowsHeight = ClientHeight - GridSide;

}  // namespace

// The client area: the documented arrangement at its default size. Grown, the grid takes
// the square the height allows, the left column everything else, and the sim's preview
// grows with the left column but leaves the neighbourhood list a third of the new height.
class frmMain::MainClient : public QWidget {
public:
    explicit MainClient(QWidget* parent) : QWidget(parent), left(new QWidget(this)), right(new QWidget(this)) {}
    QSize sizeHint() const override { return {ClientWidth, ClientHeight}; }
    QSize minimumSizeHint() const override { return {ClientWidth, ClientHeight}; }

    QWidget* left;
    QWidget* right;
    app::ScaledArea* preview = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const int w = std::max(width(), ClientWidth);
        const int h = std::max(height(), ClientHeight);
        const int rightWidth = std::min(h - RightRowsHeight + RightColumnExtra, w - LeftColumnWidth);
        const int leftWidth = w - rightWidth;
        left->setGeometry(0, 0, leftWidth, h);
        right->setGeometry(leftWidth, 0, rightWidth, h);
        if (preview) preview->setFixedHeight(std::min(leftWidth - 11, 265 + (h - ClientHeight) * 2 / 3));
        for (QObject* line : children())
            if (auto* edge = qobject_cast<QFrame*>(line); edge && edge->objectName().startsWith(u"Line"))
                edge->setGeometry(0, edge->objectName() == u"Line1" ? 0 : 1, w, 1);
    }
};

frmMain::frmMain(platform::Services& services, shell::GameSession& session,
                 const std::string& gameLocationOverride, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      session_(session),
      model_(services, session),
      browser_(services) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Load Sim - Select A Sim To Work On"));
    buildControls();
    buildMenus();

    model_.onNeighbourhoodChosen([this] { neighbourhoodChosen(); });
    demoGame_ = !gameLocationOverride.empty();
    if (demoGame_) model_.overrideGameFolder(gameLocationOverride);
    model_.load();
    smenuBackup->setChecked(model_.backupChecked());
    app::enterClicksFocusedButtons(this);
    app::rememberPlace(this, services_.settings);
}

void frmMain::buildControls() {
    auto* client = new MainClient(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // Two lines under the menu bar give it the etched edge of the classic look.
    menuEdgeDark = named(new QFrame(client), "Line1");
    menuEdgeDark->setStyleSheet(QStringLiteral("background: palette(dark);"));
    menuEdgeLight = named(new QFrame(client), "Line2");
    menuEdgeLight->setStyleSheet(QStringLiteral("background: palette(light);"));

    // The left column: the neighbourhoods, the selected sim and Edit This Sim. Its spacing
    // gives the documented places at the default size; the list takes what the window
    // grows by, and the preview grows with it.
    auto* left = new QVBoxLayout(client->left);
    left->setContentsMargins(8, 8, 3, 40);
    left->setSpacing(0);
    neighbourhoodCaption = fixedLabel(left, "lblBody", "Selected Neighborhood");
    left->addSpacing(2);
    lstUserDataDir = named(new QListWidget, "lstUserDataDir");
    lstUserDataDir->setMinimumSize(265, 104);
    lstUserDataDir->setSortingEnabled(false);   // the model already gives the sorted order
    lstUserDataDir->installEventFilter(this);
    left->addWidget(lstUserDataDir, 1);
    left->addSpacing(8);
    simNameCaption = fixedLabel(left, "Label1", "Selected Sim Name");
    left->addSpacing(2);
    txtSimName = app::readOnlyField(nullptr, "txtSimName", {});
    txtSimName->setFixedHeight(23);
    left->addWidget(txtSimName);
    left->addSpacing(9);
    imagesCaption = fixedLabel(left, "Label3", "Selected Sim Images");
    left->addSpacing(2);
    client->preview = new app::ScaledArea(QSize(261, 261), Qt::AlignLeft | Qt::AlignTop);
    client->preview->setFixedHeight(265);
    picSim = named(client->preview->box(), "picSim");
    left->addWidget(client->preview);
    left->addSpacing(8);
    cmdSelect = named(new QPushButton(QStringLiteral("Edit This Sim")), "cmdSelect");
    cmdSelect->setFixedHeight(29);
    left->addWidget(cmdSelect);

    // The right column: the grid, as large a square as the window's height allows, and its
    // paging row centred under it.
    auto* right = new QVBoxLayout(client->right);
    right->setContentsMargins(4, 8, 8, 8);
    right->setSpacing(0);
    gridCaption = fixedLabel(right, "Label2", "Sims In The Selected Neighborhood");
    right->addSpacing(2);
    auto* grid = new app::ScaledArea(QSize(thumbgrid::AreaSize, thumbgrid::AreaSize), Qt::AlignHCenter | Qt::AlignTop);
    picThumbs = named(grid->box(), "picThumbs");
    right->addWidget(grid, 1);
    right->addSpacing(6);
    auto* paging = new QHBoxLayout;
    paging->setSpacing(11);
    std::tie(cmdPrevious, txtPageCount, cmdNext) = app::pagingRow(client->right, 0, 0);
    paging->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(cmdPrevious), static_cast<QWidget*>(txtPageCount),
                       static_cast<QWidget*>(cmdNext)}) {
        w->setFixedSize(w->size());
        paging->addWidget(w);
    }
    paging->addStretch();
    right->addLayout(paging);

    cmdFocus = app::offViewFocusButton(client, QStringLiteral("Focus"), QRect(8, ClientHeight + 40, 60, 23));
    connect(picThumbs, &app::PictureBox::rescaled, this, &frmMain::placeNameLabels);

    // Down the left column, then the grid and its paging buttons.
    setTabOrder(lstUserDataDir, cmdSelect);
    setTabOrder(cmdSelect, picThumbs);
    setTabOrder(picThumbs, cmdPrevious);
    setTabOrder(cmdPrevious, cmdNext);
    enablePaging();

    picSim->clear();
    picThumbs->clear();
    picThumbs->setMouseTracking(true);
    picThumbs->acceptKeyboard();

    for (int i = 0; i < thumbgrid::CellsPerPage; ++i) {
        auto* name = new QLabel(picThumbs);
        name->setObjectName(QStringLiteral("lblSimName_%1").arg(i));
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        // Clicks go to the grid beneath.
        name->setAttribute(Qt::WA_TransparentForMouseEvents);
        lblSimName[static_cast<std::size_t>(i)] = name;
    }
    placeNameLabels();

    // The game rewrites character files when it saves: while it runs, the status line says
    // so. Looked at now and then, not at every blink of the selection frame.
    // Which game is being worked on, and how Drapeline came to it.
    lblGameFolder = named(new QLabel, "lblGameFolder");
    lblGameFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(lblGameFolder, 1);
    lblGameRunning = named(new QLabel(QString::fromLatin1(platform::GameRunningNotice)), "lblGameRunning");
    statusBar()->addPermanentWidget(lblGameRunning);
    auto* gameWatch = new QTimer(this);
    gameWatch->setInterval(5000);
    connect(gameWatch, &QTimer::timeout, this, &frmMain::showWhetherTheGameRuns);
    gameWatch->start();
    showWhetherTheGameRuns();

    blinkTimer = new QTimer(this);
    blinkTimer->setObjectName(QStringLiteral("Timer1"));
    blinkTimer->setInterval(333);
    connect(blinkTimer, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    blinkTimer->start();

    connect(picThumbs, &app::PictureBox::mousePressed, this,
            [this](QPoint at) { picThumbs_MouseDown(at.x(), at.y()); });
    connect(picThumbs, &app::PictureBox::mouseMoved, this,
            [this](QPoint at) { picThumbs_MouseMove(at.x(), at.y()); });
    connect(picThumbs, &app::PictureBox::doubleClicked, this, [this](QPoint) { cmdSelect_Click(); });
    connect(picThumbs, &app::PictureBox::gridKey, this, &frmMain::picThumbs_KeyDown);
    connect(picThumbs, &app::PictureBox::activated, this, &frmMain::cmdSelect_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmMain::cmdPrevious_Click);
    connect(cmdSelect, &QPushButton::clicked, this, &frmMain::cmdSelect_Click);

    connect(lstUserDataDir, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) {
                if (refreshingList_ || !item) return;
                model_.chooseNeighbourhood(item->data(Qt::UserRole).toByteArray().toStdString());
            });
}

void frmMain::buildMenus() {
    QMenu* menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    smenuRestore = named(menuFile->addAction(QStringLiteral("&Restore Backup ...")), "smenuRestore");
    connect(smenuRestore, &QAction::triggered, this, &frmMain::smenuRestore_Click);
    connect(named(menuFile->addAction(QStringLiteral("Restore &Batch ...")), "smenuBatches"), &QAction::triggered,
            this, &frmMain::smenuBatches_Click);
    connect(named(menuFile->addAction(QStringLiteral("&Undo Last Batch")), "smenuUndoBatch"), &QAction::triggered,
            this, &frmMain::smenuUndoBatch_Click);
    smenuFind = named(menuFile->addAction(QStringLiteral("&Find Sim ...")), "smenuFind");
    smenuFind->setShortcut(QKeySequence::Find);
    connect(smenuFind, &QAction::triggered, this, &frmMain::smenuFind_Click);
    smenuFindNext = named(menuFile->addAction(QStringLiteral("Find &Next")), "smenuFindNext");
    smenuFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    connect(smenuFindNext, &QAction::triggered, this, [this] { findSim(lastFind_); });
    menuFile->addSeparator();
    smenuExit = named(menuFile->addAction(QStringLiteral("E&xit")), "smenuExit");
    connect(smenuExit, &QAction::triggered, this, &QWidget::close);

    QMenu* menuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    menuOptions->setObjectName(QStringLiteral("menuOptions"));
    smenuBackup = named(menuOptions->addAction(QStringLiteral("&Create Backup File")), "smenuBackup");
    smenuBackup->setCheckable(true);
    connect(smenuBackup, &QAction::triggered, this, [this] {
        model_.toggleBackup();
        smenuBackup->setChecked(model_.backupChecked());
    });
    smenuSetPath = named(menuOptions->addAction(QStringLiteral("&Set Path ...")), "smenuSetPath");
    connect(smenuSetPath, &QAction::triggered, this, &frmMain::smenuSetPath_Click);

    QMenu* menuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    menuTools->setObjectName(QStringLiteral("menuTools"));
    smenuExport = named(menuTools->addAction(QStringLiteral("&Export Skin Names")), "smenuExport");
    smenuFix = named(menuTools->addAction(QStringLiteral("&Fix Fit to Skinny Sims")), "smenuFix");
    smenuPinkHands = named(menuTools->addAction(QStringLiteral("&Remove Pink Gorilla Formal Hands")),
                           "smenuPinkHands");
    connect(smenuExport, &QAction::triggered, this, &frmMain::smenuExport_Click);
    connect(smenuFix, &QAction::triggered, this, &frmMain::smenuFix_Click);
    connect(smenuPinkHands, &QAction::triggered, this, &frmMain::smenuPinkHands_Click);
    menuTools->addSeparator();
    QAction* smenuOverview = named(menuTools->addAction(QStringLiteral("&Wardrobe Overview ...")), "smenuOverview");
    smenuOverview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(smenuOverview, &QAction::triggered, this, &frmMain::smenuOverview_Click);

    QMenu* menuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    smenuHelp = named(menuHelp->addAction(QStringLiteral("Drapeline &Help")), "smenuHelp");
    smenuHelp->setShortcut(QKeySequence::HelpContents);
    connect(smenuHelp, &QAction::triggered, this, [this] { app::showGuide(this); });
    smenuAbout = named(menuHelp->addAction(QStringLiteral("&About Drapeline")), "smenuAbout");
    connect(smenuAbout, &QAction::triggered, this, [this] {
        app::frmAbout about(services_.programFolder, this);
        about.exec();
    });
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activatedOnce_) return;
    activatedOnce_ = true;
    // After the window is on screen, so that its messages stand over it.
    QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

void frmMain::showWhetherTheGameRuns() {
    lblGameRunning->setVisible(services_.gameIsRunning());
}

void frmMain::Form_Activate() {
    showWhetherTheGameRuns();
    if (const QScreen* screen = this->screen();
        screen && screen->availableGeometry().height() < SmallScreenHeight)
        move(x(), 0);
    setWindowTitle(QString::fromStdString(titleCaption() + " - by Ardentide"));
    lblGameFolder->setText(platform::pathToQString(model_.gameStatus()));
    model_.activate();
    showNeighbourhoodList();
}

void frmMain::showNeighbourhoodList() {
    refreshingList_ = true;
    lstUserDataDir->clear();
    // A line names a folder, so it reads as the file system spells it (UTF-8); the line's
    // own bytes go back to the model, whatever the display made of them.
    for (const auto& line : model_.listLines()) {
        auto* item = new QListWidgetItem(platform::pathToQString(line), lstUserDataDir);
        item->setData(Qt::UserRole, QByteArray::fromStdString(line));
        if (line == model_.selectedLine()) lstUserDataDir->setCurrentItem(item);
    }
    refreshingList_ = false;
}

void frmMain::neighbourhoodChosen() {
    picSim->clear();
    txtSimName->clear();
    msLoadSimImages();
}

void frmMain::msLoadSimImages() { drawPage(false); }

void frmMain::drawPage(bool keepSelection) {
    guarded("frmMain", "msLoadSimImages", Stages::Marked, [&] {
        markStage(1000);
        picThumbs->clear();
        for (QLabel* name : lblSimName) name->clear();
        enablePaging();
        const auto& files = session_.simFiles();
        if (files.empty()) return;
        app::BusyPointer busy;
        const std::size_t first = model_.pager().firstOnPage();
        const std::size_t end = model_.pager().endOfPage();
        markStage(2000);
        for (std::size_t i = first; i < end; ++i) {
            const int cell = static_cast<int>(i - first);
            const shell::GridPoint at = thumbgrid::cellOrigin(cell);
            const Thumbnail thumb = browser_.thumbnail(model_.simPath(files[i]));
            model_.rememberName(i, thumb.label);
            // Only the front view of the web image fits a cell.
            picThumbs->paintPicture(app::imageFor(thumb.picture), at.x + 9, at.y, 45);
            lblSimName[static_cast<std::size_t>(cell)]->setText(platform::toDisplayText(thumb.label));
            labelLines_[static_cast<std::size_t>(cell)] = thumb.label == CanNotLoadLabel ? 1 : 0;
            placeNameLabel(cell);
        }
        markStage(3000);
        if (!keepSelection) model_.pager().pageDrawn();
        showSelectedSim();
        txtPageCount->setText(QString::fromStdString(model_.pager().pageText()));
    });
}

void frmMain::placeNameLabels() {
    QFont nameFont = font();
    nameFont.setPixelSize(std::max(10, int(10 * picThumbs->scale())));
    for (int cell = 0; cell < thumbgrid::CellsPerPage; ++cell) {
        lblSimName[static_cast<std::size_t>(cell)]->setFont(nameFont);
        placeNameLabel(cell);
    }
}

void frmMain::placeNameLabel(int cell) {
    // Each label stays under its cell's picture, in the grid's design pixels.
    const QPoint topLeft = picThumbs->toShown({(cell % 7) * thumbgrid::Pitch + 2, (cell / 7) * thumbgrid::Pitch + 48});
    const QPoint bottomRight = picThumbs->toShown(
        {(cell % 7) * thumbgrid::Pitch + 2 + 64, (cell / 7) * thumbgrid::Pitch + 48 + 13 * (1 + labelLines_[static_cast<std::size_t>(cell)])});
    lblSimName[static_cast<std::size_t>(cell)]->setGeometry(QRect(topLeft, bottomRight - QPoint(1, 1)));
}

void frmMain::enablePaging() {
    cmdPrevious->setEnabled(model_.pager().canGoPrevious());
    cmdNext->setEnabled(model_.pager().canGoNext());
}

void frmMain::showSelectedSim() {
    if (const std::string path = model_.selectedSimPath(); !path.empty()) {
        msDisplaySim(path);
    } else {
        txtSimName->clear();
        picSim->clear();
    }
}

void frmMain::picThumbs_KeyDown(shell::GridKey key) {
    guarded("frmMain", "picThumbs_KeyDown", Stages::None, [&] {
        picThumbs->drawCellFrame(model_.pager().cell(), palette().color(QPalette::Button));
        const auto move = model_.pager().move(key);
        if (move.pageChanged) drawPage(true);
        else if (move.moved) showSelectedSim();
    });
}

std::string frmMain::findSim(const std::string& text) {
    std::string where;
    guarded("frmMain", "findSim", Stages::None, [&] {
        if (text.empty()) return;
        lastFind_ = text;
        const int oldCell = model_.pager().cell();
        const auto found = model_.findSim(text);
        if (!found) {
            services_.dialogs.inform("No sim whose name holds \"" + text + "\" in any neighbourhood was found.",
                                     "Find Sim");
            return;
        }
        picThumbs->drawCellFrame(oldCell, palette().color(QPalette::Button));
        if (found->otherNeighbourhood) showNeighbourhoodList();
        if (found->pageChanged) drawPage(true);
        else showSelectedSim();
        where = "Found " + found->where;
        statusBar()->showMessage(platform::pathToQString(where), 10000);
    });
    return where;
}

void frmMain::smenuFind_Click() {
    frmFindSim dialog(lastFind_, services_.settings, this);
    connect(&dialog, &frmFindSim::findNext, this,
            [this, &dialog](const std::string& text) { dialog.showResult(platform::pathToQString(findSim(text))); });
    dialog.exec();
    picThumbs->setFocus(Qt::OtherFocusReason);
}

void frmMain::msDisplaySim(const std::string& path) {
    guarded("frmMain", "msDisplaySim", Stages::None, [&] {
        const SimPreview preview = browser_.preview(path, session_.neighbourhood());
        picSim->clear();
        txtSimName->setText(toQString(preview.name));
        picSim->paintPicture(app::imageFor(preview.webImage), 0, 0);
        if (!preview.readable) {
            // A line wider than the preview goes on at its last blank that fits, so the
            // end of the error, often the part that explains it, is never cut off.
            const QFontMetrics metrics(picSim->font());
            int y = 48;
            for (const auto& line : preview.errorLines) {
                QString rest = toQString(line);
                while (!rest.isEmpty()) {
                    qsizetype cut = rest.size();
                    while (metrics.horizontalAdvance(rest.left(cut)) > picSim->width()) {
                        const qsizetype blank = cut > 1 ? rest.lastIndexOf(u' ', cut - 1) : -1;
                        if (blank <= 0) {   // a single word too wide is shown as it is
                            cut = rest.size();
                            break;
                        }
                        cut = blank;
                    }
                    picSim->printText(0, y, rest.left(cut));
                    rest = rest.mid(cut).trimmed();
                    y += 12;
                }
            }
            return;
        }
        picSim->paintPicture(app::imageFor(preview.faces), 0, 64);
        picSim->paintPicture(app::imageFor(preview.relImages), 0, 128);
    });
}

void frmMain::Timer1_Timer() {
    blink_ = !blink_;
    picThumbs->drawCellFrame(model_.pager().cell(), blink_ ? palette().color(QPalette::Button) : QColor(Qt::white));
}

void frmMain::picThumbs_MouseDown(int x, int y) {
    guarded("frmMain", "picThumbs_MouseDown", Stages::None, [&] {
        picThumbs->drawCellFrame(model_.pager().cell(), palette().color(QPalette::Button));
        model_.selectAt(x, y);
        showSelectedSim();
    });
}

void frmMain::picThumbs_MouseMove(int x, int y) {
    const auto& files = session_.simFiles();
    if (files.empty()) return;
    const auto index = model_.pager().fileAt(x, y);
    picThumbs->setToolTip(index ? toQString(files[*index]) : QString());
}

void frmMain::cmdNext_Click() {
    if (model_.nextPage()) msLoadSimImages();
}

void frmMain::cmdPrevious_Click() {
    if (model_.previousPage()) msLoadSimImages();
}

void frmMain::cmdSelect_Click() {
    const app::FocusAway away(cmdFocus);
    auto sim = model_.simToEdit(!txtSimName->text().isEmpty());
    if (!sim) return;
    frmEditSim editor(services_, session_, [this] { return model_.backupChecked(); },
                                this);
    // A wardrobe that can not be shown has been explained instead of ending the program.
    if (editor.openSim(sim->path, std::move(sim->iff), sim->identity)) editor.exec();
    Form_Activate();
}

void frmMain::smenuSetPath_Click() {
    const app::FocusAway away(cmdFocus);
    const std::string before = session_.gameFolder();
    frmSetPath dialog(services_, session_, this);
    if (demoGame_) dialog.showLocationInUse(session_.gameFolder());
    if (dialog.exec() == QDialog::Accepted && session_.gameFolder() != before)
        model_.gameFolderChanged();
    Form_Activate();
}

void frmMain::runRepair(const char* procedure, const char* question,
                        tools::BatchReport (*repair)(const std::string&, const std::vector<std::string>&,
                                                     const std::string&, const tools::RepairOptions&)) {
    guarded("frmMain", procedure, Stages::None, [&] {
        if (!services_.dialogs.confirm(question) || session_.simFiles().empty()) return;
        tools::RepairOptions options;
        if (model_.backupChecked()) options.backupClock = &services_.clock;
        tools::BatchReport report;
        {
            app::BusyPointer busy;
            report = repair(characterFolder(session_.gameFolder(), session_.neighbourhood()),
                            session_.simFiles(), services_.programFolder, options);
        }
        services_.dialogs.inform(tools::completionMessage(report), "Success");
    });
}

void frmMain::smenuFix_Click() {
    runRepair("smenuFix_Click", tools::FixFitQuestion, tools::fixFitToSkinny);
}

void frmMain::smenuPinkHands_Click() {
    runRepair("smenuPinkHands_Click", tools::PinkHandsQuestion, tools::removePinkGorillaHands);
}

void frmMain::smenuExport_Click() {
    guarded("frmMain", "smenuExport_Click", Stages::None, [&] {
        if (session_.simFiles().empty()) return;
        const tools::ExportReport report =
            tools::exportSkinNames(characterFolder(session_.gameFolder(), session_.neighbourhood()),
                                   session_.simFiles(), services_.programFolder);
        services_.dialogs.inform(tools::exportMessage(report), "Export Complete");
    });
}

void frmMain::smenuRestore_Click() {
    const app::FocusAway away(cmdFocus);
    guarded("frmMain", "smenuRestore_Click", Stages::None, [&] {
        frmRestore window(services_, session_, model_.selectedSimPath(), this);
        // A restored sim may look different: its thumbnail and preview are drawn again.
        if (window.exec() == QDialog::Accepted && !session_.simFiles().empty()) msLoadSimImages();
    });
    Form_Activate();
}

void frmMain::smenuOverview_Click() {
    const app::FocusAway away(cmdFocus);
    guarded("frmMain", "smenuOverview_Click", Stages::None, [&] {
        if (session_.neighbourhood().empty()) {
            services_.dialogs.inform("Choose a neighbourhood first.", "Wardrobe Overview");
            return;
        }
        frmWardrobeOverview window(services_, session_, [this] { return model_.backupChecked(); }, this);
        window.exec();
        msLoadSimImages();
    });
    Form_Activate();
}

void frmMain::smenuUndoBatch_Click() {
    guarded("frmMain", "smenuUndoBatch_Click", Stages::None, [&] {
        const auto record = audit::lastBatch(services_.programFolder);
        if (!record) services_.dialogs.inform("There is no batch to undo.", "Undo Last Batch");
        else if (undoAfterAsking(services_, *record) && !session_.simFiles().empty()) msLoadSimImages();
    });
}

void frmMain::smenuBatches_Click() {
    guarded("frmMain", "smenuBatches_Click", Stages::None, [&] {
        frmBatches window(services_, this);
        window.exec();
        if (!session_.simFiles().empty()) msLoadSimImages();
    });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a neighbourhood goes on to its sims, where the next Enter opens one.
    if (watched == lstUserDataDir && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            picThumbs->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

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

}  // namespace drapeline::app
