#pragma once
// The busy (hourglass) pointer for as long as a long run lasts; pending window events run
// once first so that the window is drawn before the work starts.

#include <QApplication>

namespace drapeline::app {

class BusyPointer {
public:
    BusyPointer() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents();
    }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace drapeline::app
