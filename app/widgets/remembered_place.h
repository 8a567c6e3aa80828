#pragma once
// Every window comes back where the user left it: its size and position (and whether it
// was maximised) are kept in the settings under "Window " + its object name, written when
// it closes and restored when it is made, onto a screen that is still there.

#include <QWidget>

#include "platform/settings.h"

namespace drapeline::app {

// Restores the window's place now (before it is shown) and keeps it from then on.
// `settings` must outlive the window.
void rememberPlace(QWidget* window, platform::SettingsStore& settings);

}  // namespace drapeline::app
