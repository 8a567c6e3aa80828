#pragma once
// "Set The Sims Path": the registry's location beside the one Drapeline uses.

#include <QDialog>

#include "neighbourhood/set_path_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace drapeline::app {

class frmSetPath : public QDialog {
    Q_OBJECT
public:
    frmSetPath(platform::Services& services, shell::GameSession& session, QWidget* parent);

    const neighbourhood::SetPathModel& model() const { return model_; }
    // Shows a game folder in use that is not the stored one (the demo game).
    void showLocationInUse(const std::string& folder);

private:
    // Every button first takes the focus away from itself.
    void focusAway();
    void showFields();
    void readFields();

    neighbourhood::SetPathModel model_;
    QLabel* noteLabel;
    QLabel* registryCaption;
    QLabel* usedCaption;
    QLineEdit* txtRegistry;
    QLineEdit* txtLocation;
    QPushButton* cmdUseReg;
    QPushButton* cmdFindPath;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdFocus;
};

}  // namespace drapeline::app
