#pragma once
// The title window: the program's picture, its notice and OK. However it closes, the
// main window follows.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace drapeline::app {

class frmTitle : public QWidget {
    Q_OBJECT
public:
    explicit frmTitle(QWidget* parent = nullptr);

signals:
    // Emitted once when the window closes, by OK or by the window frame.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter and Escape close it, wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Picture1;
    QPlainTextEdit* Text1;
    QPushButton* cmdOK;
    bool closedOnce_ = false;
};

}  // namespace drapeline::app
