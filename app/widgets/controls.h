#pragma once
// Small helpers for building windows whose controls carry their documented names.

#include <QString>

namespace drapeline::app {

// Gives a control its object name, so that tests and the error log find it by that name.
template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace drapeline::app
