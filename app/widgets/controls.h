#pragma once
// Small helpers for building windows whose controls carry their documented names.

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <tuple>

namespace drapeline::app {

// Gives a control its object name, so that tests and the error log find it by that name.
template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Enter clicks the focused button in every window, not only in dialogs (a button of a
// main window ignores Enter unless it is an "auto default" one).
inline void enterClicksFocusedButtons(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) button->setAutoDefault(true);
}

// A text field that only the program writes: it can be clicked into to select and copy,
// but it is out of the Tab chain.
inline QLineEdit* readOnlyField(QWidget* parent, const char* name, const QRect& geometry) {
    auto* field = named(new QLineEdit(parent), name);
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

// The off-view focus button `cmdFocus`, placed below the window's edge: out of the Tab
// chain, yet it still takes the focus that each button action moves away from the
// clicked control.
// A window that grows keeps it below its edge.
inline QPushButton* offViewFocusButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    class KeepBelow : public QObject {
    public:
        KeepBelow(QWidget* button, int gap) : QObject(button), button_(button), gap_(gap) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Resize)
                button_->move(button_->x(), button_->parentWidget()->height() + gap_);
            return false;
        }

    private:
        QWidget* button_;
        int gap_;
    };
    auto* button = named(new QPushButton(caption, parent), "cmdFocus");
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    parent->installEventFilter(new KeepBelow(button, std::max(0, geometry.y() - parent->height())));
    return button;
}

// The paging row under a thumbnail grid, from its left edge at (x, y): `cmdPrevious`, the
// centred page text `txtPageCount` and `cmdNext`.
inline std::tuple<QPushButton*, QLineEdit*, QPushButton*> pagingRow(QWidget* parent, int x, int y) {
    auto* previous = named(new QPushButton(QStringLiteral("Previous"), parent), "cmdPrevious");
    previous->setGeometry(x, y, 57, 23);
    auto* pageCount = readOnlyField(parent, "txtPageCount", QRect(x + 68, y, 81, 23));
    pageCount->setAlignment(Qt::AlignCenter);
    auto* next = named(new QPushButton(QStringLiteral("Next"), parent), "cmdNext");
    next->setGeometry(x + 160, y, 57, 23);
    return {previous, pageCount, next};
}

// A button action's start: the focus goes to the off-view focus button. When the action is
// over, it comes back to the control the user was on (if that is still there to take it),
// so that a keyboard user goes on from where they were.
class FocusAway {
public:
    explicit FocusAway(QWidget* focusButton) {
        if (QWidget* window = focusButton->window()) before_ = window->focusWidget();
        focusButton->setFocus(Qt::OtherFocusReason);
    }
    ~FocusAway() {
        if (before_ && before_->isVisible() && before_->isEnabled() && before_->window()->isVisible())
            before_->setFocus(Qt::OtherFocusReason);
    }
    FocusAway(const FocusAway&) = delete;
    FocusAway& operator=(const FocusAway&) = delete;

private:
    QPointer<QWidget> before_;
};

}  // namespace drapeline::app
