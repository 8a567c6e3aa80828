#pragma once
// "Find Sim": part of a sim's name; each Find Next (Enter, F3) selects the next sim whose
// name holds it in the main window behind, until the window is closed.

#include <QDialog>
#include <string>

#include "platform/settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace drapeline::app {

class frmFindSim : public QDialog {
    Q_OBJECT
public:
    frmFindSim(const std::string& lastText, platform::SettingsStore& settings, QWidget* parent);

    // Where the last Find Next found its sim ("" for nowhere).
    void showResult(const QString& where);

signals:
    void findNext(const std::string& text);

private:
    QLineEdit* txtFind;
    QLabel* lblFound;
    QPushButton* cmdFindNext;
    QPushButton* cmdClose;
};

}  // namespace drapeline::app
