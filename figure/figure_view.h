#pragma once
// The dressed preview's state, for a window or a command to drive: what is worn, how it
// is looked at, and the picture. A widget forwards drags, the wheel, double-clicks and
// keys here and paints image(); nothing here knows a widget.

#include <string>
#include <vector>

#include "figure/dressing.h"
#include "figure/renderer.h"

namespace drapeline::figure {

class FigureView {
public:
    explicit FigureView(ModelLibrary& library) : library_(library) {}

    // Dresses again only when the request differs from the one shown.
    void show(const DressRequest& request);
    const DressRequest& request() const { return request_; }
    const DressedFigure& figure() const { return figure_; }
    const std::vector<std::string>& missing() const { return figure_.missing; }

    Camera& camera() { return camera_; }
    const Camera& camera() const { return camera_; }
    void turnLeft() { camera_.turn(-StepDegrees); }
    void turnRight() { camera_.turn(StepDegrees); }
    void front() { camera_.setYaw(0); }
    void back() { camera_.setYaw(180); }
    // A horizontal drag of `pixels` across a view `width` wide turns it half round.
    void drag(int pixels, int width);
    // One wheel notch (120 eighths of a degree, as windows report it) zooms by a tenth.
    void wheel(int eighthsOfDegree);

    const RgbaImage& image(int width, int height, Rgba background = {});

    static constexpr float StepDegrees = 15.0f;

private:
    ModelLibrary& library_;
    DressRequest request_;
    bool dressed_ = false;
    DressedFigure figure_;
    Camera camera_;
    Renderer renderer_;
    RgbaImage image_;
};

}  // namespace drapeline::figure
