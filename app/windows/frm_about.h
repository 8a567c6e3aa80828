#pragma once
// The Help menu's windows: "About Drapeline" and the short guide that ships inside the
// program.

#include <QDialog>
#include <QString>
#include <string>

class QWidget;

namespace drapeline::app {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const std::string& programFolder, QWidget* parent);
};

// The guide shipped inside the program (HTML).
QString guideText();
// Shows the guide modally over `parent`.
void showGuide(QWidget* parent);

}  // namespace drapeline::app
