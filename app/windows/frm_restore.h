#pragma once
// "Restore Backup": the backups in the program folder's Backup folder, newest first, and
// the button that puts one back in place. Its rules live in RestoreModel. "Batches ..."
// lists the batch changes, each put back as a whole.

#include <QDialog>

#include "tools/backups.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace drapeline::app {

class frmRestore : public QDialog {
    Q_OBJECT
public:
    // `simPath`: the sim selected in the main window ("" for none); its backups are listed
    // first, the others when chkAllSims is checked. The window is accepted after a restore.
    frmRestore(platform::Services& services, const shell::GameSession& session, std::string simPath,
               QWidget* parent);

    tools::RestoreModel& model() { return model_; }

private:
    void showRows();
    void cmdRestore_Click();

    platform::Services& services_;
    tools::RestoreModel model_;
    QLabel* lblBackups;
    QTreeWidget* lstBackups;
    QCheckBox* chkAllSims;
    QPushButton* cmdBatches;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;
};

}  // namespace drapeline::app
