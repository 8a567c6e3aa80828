#include "app/widgets/remembered_place.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "shell/window_place.h"

namespace drapeline::app {

namespace {

std::string settingsKey(const QWidget* window) { return "Window " + window->objectName().toStdString(); }

shell::PlaceRect placeRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget* window, platform::SettingsStore& settings) : QObject(window), settings_(settings) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A modal window is hidden, not closed, when exec() ends.
        if (event->type() == QEvent::Close || event->type() == QEvent::Hide) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isVisible() || event->type() == QEvent::Hide) store(window);
        }
        return false;
    }

private:
    void store(QWidget* window) {
        const bool maximised = window->isMaximized();
        const QRect normal = maximised ? window->normalGeometry() : window->geometry();
        if (normal.isEmpty()) return;
        settings_.setValue(settingsKey(window), shell::placeText({placeRect(normal), maximised}));
    }

    platform::SettingsStore& settings_;
};

}  // namespace

void rememberPlace(QWidget* window, platform::SettingsStore& settings) {
    new PlaceKeeper(window, settings);
    const auto saved = shell::readPlace(settings.value(settingsKey(window)));
    if (!saved) return;
    std::vector<shell::PlaceRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(placeRect(screen->availableGeometry()));
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    const auto placed = shell::placeOnScreens(*saved, screens, minimum.width(), minimum.height());
    if (!placed) return;
    const shell::PlaceRect& r = placed->rect;
    window->setGeometry(r.x, r.y, r.width, r.height);
    if (placed->maximised) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

}  // namespace drapeline::app
