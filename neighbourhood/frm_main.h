#pragma once
// The main window: the neighbourhood list, the sims of the chosen neighbourhood, and the
// menus. Its rules live in MainWindowModel; this class places the controls, forwards the
// events and shows the model's state.

#include <QMainWindow>

#include "neighbourhood/main_window_model.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace drapeline::app {
class PictureBox;
}

namespace drapeline::neighbourhood {

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(platform::Services& services, std::string& gameLocation, QWidget* parent = nullptr);

    MainWindowModel& model() { return model_; }

    // The activation: runs after the window is first shown and whenever a window that it
    // opened has closed.
    void Form_Activate();

    // Shows frmSetPath modally, then activates this window again.
    void smenuSetPath_Click();

    // Closing without asking (the error trap's end, or a test's tear-down).
    void closeWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void showNeighbourhoodList();
    void neighbourhoodChosen();
    void focusAway();

    platform::Services& services_;
    std::string& gameLocation_;
    MainWindowModel model_;
    bool activatedOnce_ = false;
    bool askBeforeClosing_ = true;
    bool refreshingList_ = false;

    QFrame* Line1;
    QFrame* Line2;
    QLabel* Label2;
    QLabel* lblBody;
    QListWidget* lstUserDataDir;
    QLabel* Label1;
    QLineEdit* txtSimName;
    QLabel* Label3;
    app::PictureBox* picSim;
    QPushButton* cmdSelect;
    app::PictureBox* picThumbs;
    QPushButton* cmdPrevious;
    QLineEdit* txtPageCount;
    QPushButton* cmdNext;
    QPushButton* cmdFocus;
    QAction* smenuExit;
    QAction* smenuBackup;
    QAction* smenuSetPath;
};

}  // namespace drapeline::neighbourhood
