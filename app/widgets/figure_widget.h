#pragma once
// The dressed, turnable sim: a sunken area like the flat previews that draws a FigureView
// and hands it the mouse and the keys. Drag to turn, wheel to zoom, double-click to look
// from the front again; Left and Right turn and Home resets when it has the focus. What
// could not be found is written along its foot.

#include <QFrame>
#include <memory>
#include <optional>

#include "figure/figure_view.h"
#include "platform/settings.h"

class QToolButton;

namespace drapeline::app {

class FigureWidget : public QFrame {
    Q_OBJECT
public:
    explicit FigureWidget(QWidget* parent = nullptr);
    ~FigureWidget() override;

    // Dresses `request` from `library`. The dressing waits until the area is painted, so a
    // hidden page costs nothing; the same request again keeps the figure and its turn.
    void dress(figure::ModelLibrary& library, const figure::DressRequest& request);
    // The figure as last painted (dressed at once if it has not been yet).
    const figure::FigureView* view();

    // The area with the figure drawn in it, as painted.
    QImage picture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dressPending();
    void turned();

    std::unique_ptr<figure::FigureView> view_;
    const figure::ModelLibrary* libraryOf_ = nullptr;   // the library view_ dresses from
    std::optional<figure::DressRequest> pending_;
    int dragFrom_ = 0;
    QToolButton* frontButton;
    QToolButton* backButton;
};

// "Texture | On the body": two buttons of which one is down. Every switch in the program
// shows the same choice; the choice is kept in the settings between sessions.
class PreviewSwitch : public QWidget {
    Q_OBJECT
public:
    PreviewSwitch(platform::SettingsStore& settings, QWidget* parent);
    bool onTheBody() const;
    void setOnTheBody(bool onTheBody);

signals:
    void switched(bool onTheBody);

private:
    platform::SettingsStore& settings_;
    QToolButton* texture;
    QToolButton* body;
};

// The choice every switch starts with: on the body unless the player chose the texture.
bool previewOnTheBody(const platform::SettingsStore& settings);

}  // namespace drapeline::app
