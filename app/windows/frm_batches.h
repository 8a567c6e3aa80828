#pragma once
// "Restore Batch": the batch changes recorded in the Backup folder, newest first, and the
// button that undoes the chosen one.

#include <QDialog>

#include "audit/batch.h"
#include "platform/services.h"

class QPushButton;
class QTreeWidget;

namespace drapeline::app {

class frmBatches : public QDialog {
    Q_OBJECT
public:
    frmBatches(platform::Services& services, QWidget* parent);
    // Whether a batch was undone while the window was open.
    bool undoneAny() const { return undoneAny_; }

private slots:
    // Undoes the chosen batch after asking; tells the outcome. True when it ran.
    bool cmdUndo_Click();

private:
    void showRows();

    platform::Services& services_;
    std::vector<audit::BatchRecord> rows_;
    bool undoneAny_ = false;
    QTreeWidget* lstBatches;
    QPushButton* cmdUndo;
    QPushButton* cmdClose;
};

// Asks, undoes the batch and reports, as the overview and the File menu do.
bool undoAfterAsking(platform::Services& services, const audit::BatchRecord& record);

}  // namespace drapeline::app
