#pragma once
// The main window: the neighbourhood list, the sims of the chosen neighbourhood, and the
// menus. Its rules live in MainWindowModel; this class places the controls, forwards the
// events and shows the model's state.

#include <QMainWindow>
#include <array>

#include "neighbourhood/main_window_model.h"
#include "neighbourhood/sim_browser.h"
#include "tools/neighbourhood_tools.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

namespace drapeline::app {

class PictureBox;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // A non-empty `gameLocationOverride` is used instead of the stored game folder, and
    // not stored (the demo game).
    frmMain(platform::Services& services, shell::GameSession& session,
            const std::string& gameLocationOverride = {}, QWidget* parent = nullptr);

    neighbourhood::MainWindowModel& model() { return model_; }

    // Closing without asking (the error trap's end, or a test's tear-down).
    void closeWithoutAsking();

    // Selects the next sim whose name holds `text`, on its page, in whichever
    // neighbourhood holds it (File > Find Sim, F3); says where ("" when none was found).
    std::string findSim(const std::string& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    // The activation: runs after the window is first shown and whenever a window that it
    // opened has closed.
    void Form_Activate();

    // Shows frmSetPath modally, then activates this window again.
    void smenuSetPath_Click();
    // A mouse press on the thumbnail area, in its pixels.
    void picThumbs_MouseDown(int x, int y);
    void cmdNext_Click();
    void cmdPrevious_Click();
    // Opens the selected sim in the edit window.
    void cmdSelect_Click();
    // A move key on the focused thumbnail grid.
    void picThumbs_KeyDown(shell::GridKey key);
    void smenuFind_Click();
    // One tick of the blinking selection frame.
    void Timer1_Timer();

    // The Tools menu: the neighbourhood repairs and the skin-name export.
    void smenuFix_Click();
    void smenuPinkHands_Click();
    void smenuExport_Click();
    // File menu: the restore window, for the selected sim's backups first.
    void smenuRestore_Click();
    // The neighbourhood's wardrobe at a glance, and the batches it leaves behind.
    void smenuOverview_Click();
    void smenuUndoBatch_Click();
    void smenuBatches_Click();

private:
    // Draws the page shown of the chosen neighbourhood and previews its selected sim.
    void msLoadSimImages();
    // Reads one character file and shows its pictures and name in the preview.
    void msDisplaySim(const std::string& path);
    void buildControls();
    void buildMenus();
    void showNeighbourhoodList();
    void neighbourhoodChosen();
    void showWhetherTheGameRuns();
    void drawPage(bool keepSelection);
    void enablePaging();
    void showSelectedSim();
    void runRepair(const char* procedure, const char* question,
                   tools::BatchReport (*repair)(const std::string&, const std::vector<std::string>&,
                                                const std::string&, const tools::RepairOptions&));
    void picThumbs_MouseMove(int x, int y);
    // The name labels under the cells follow the grid's scale.
    void placeNameLabels();
    void placeNameLabel(int cell);

    class MainClient;

    platform::Services& services_;
    shell::GameSession& session_;
    neighbourhood::MainWindowModel model_;
    bool activatedOnce_ = false;
    bool askBeforeClosing_ = true;
    bool refreshingList_ = false;
    bool blink_ = false;
    bool demoGame_ = false;
    std::string lastFind_;
    neighbourhood::SimBrowser browser_;

    QFrame* menuEdgeDark;
    QFrame* menuEdgeLight;
    QLabel* gridCaption;
    QLabel* neighbourhoodCaption;
    QListWidget* lstUserDataDir;
    QLabel* simNameCaption;
    QLineEdit* txtSimName;
    QLabel* imagesCaption;
    app::PictureBox* picSim;
    QPushButton* cmdSelect;
    app::PictureBox* picThumbs;
    std::array<QLabel*, 49> lblSimName{};
    std::array<int, 49> labelLines_{};   // lines beyond the first of each label
    QTimer* blinkTimer;
    QLabel* lblGameFolder;
    QLabel* lblGameRunning;
    QPushButton* cmdPrevious;
    QLineEdit* txtPageCount;
    QPushButton* cmdNext;
    QPushButton* cmdFocus;
    QAction* smenuFind;
    QAction* smenuFindNext;
    QAction* smenuRestore;
    QAction* smenuExit;
    QAction* smenuHelp;
    QAction* smenuAbout;
    QAction* smenuBackup;
    QAction* smenuSetPath;
    QAction* smenuExport;
    QAction* smenuFix;
    QAction* smenuPinkHands;
};

}  // namespace drapeline::app
