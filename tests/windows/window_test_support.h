#pragma once
// What the window tests share: the doubles with Qt's own picture loading, finding
// controls by their names, and acting on a modal window once it is shown.

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/qt/qt_pictures.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"
#include "app/windows/frm_edit_sim.h"

namespace drapeline::testkit {

using QtMachine = MachineWith<platform::QtPictureLoader>;

// What each window test keeps: its program folder and game folder, the machine on the
// program folder, and the session its windows share.
class WindowTest : public QObject {
protected:
    TempFolder programFolder;
    TempFolder game;
    std::unique_ptr<QtMachine> machine;
    shell::GameSession session;
};

template <class W>
W* child(QWidget* window, const char* name) {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
}

inline QString text(QWidget* window, const char* name) { return child<QLineEdit>(window, name)->text(); }

// The controls of `window` that stand more than three pixels from their rectangles (in
// `origin`'s coordinates), with where they are; empty when every one is in its place.
inline QString misplaced(QWidget* window, QWidget* origin, std::initializer_list<std::pair<const char*, QRect>> places) {
    QString wrong;
    for (const auto& [name, rect] : places) {
        auto* w = child<QWidget>(window, name);
        const QRect at(w->mapTo(origin, QPoint(0, 0)), w->size());
        for (int d : {at.x() - rect.x(), at.y() - rect.y(), at.width() - rect.width(), at.height() - rect.height()})
            if (std::abs(d) > 3) {
                wrong += QStringLiteral("%1 at %2,%3 %4x%5; ").arg(QString::fromLatin1(name)).arg(at.x()).arg(at.y())
                             .arg(at.width()).arg(at.height());
                break;
            }
    }
    return wrong;
}

// Runs `action` on the modal window of type W as soon as it is shown (windows that search
// let events run before they are on screen, so this waits for it).
template <class W>
void whenShown(std::function<void(W*)> action, int tries = 200) {
    QTimer::singleShot(5, [action, tries] {
        if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget())) {
            const QPointer<W> shown(window);
            action(window);
            // A failed check leaves the action part way: close the window, or its loop
            // would wait for ever and the test program never report.
            if (QTest::currentTestFailed() && shown && shown->isVisible()) shown->close();
        } else if (tries > 0) whenShown<W>(action, tries - 1);
        else qFatal("the window is not shown");
    });
}

// The edit window opened on a character file, as "Edit This Sim" opens it (no backups).
inline std::unique_ptr<app::frmEditSim> openEditor(QtMachine& machine,
                                                        const shell::GameSession& session,
                                                        const std::string& path) {
    auto editor = std::make_unique<app::frmEditSim>(machine.services, session,
                                                         [] { return false; }, nullptr);
    if (!editor->openSim(path)) qFatal("the sim does not open");
    return editor;
}

}  // namespace drapeline::testkit
