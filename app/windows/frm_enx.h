#pragma once
// The ensemble window: name, pick or delete an ensemble file, and save or load it. Its
// rules live in EnxModel.

#include <QDialog>

#include "ensembles/enx_model.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace drapeline::app {

class frmENX : public QDialog {
    Q_OBJECT
public:
    frmENX(platform::Services& services, wardrobe::WardrobeFields fields,
           wardrobe::WardrobeLayout layout, ensembles::EnsembleMode mode, QWidget* parent);

    ensembles::EnxModel& model() { return model_; }

private:
    void showFiles();
    void saveOrLoad();

    ensembles::EnxModel model_;
    QListWidget* flbENX;
    QLineEdit* txtFileName;
    QPushButton* cmdSaveLoad;
    QPushButton* cmdDelete;
    QPushButton* cmdCancel;
    QPushButton* cmdFocus;
};

}  // namespace drapeline::app
