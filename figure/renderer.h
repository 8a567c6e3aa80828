#pragma once
// Draws a dressed figure into an RGBA image: our own small rasterizer, so the preview
// needs no graphics driver and looks the same on every machine (one thread, the same
// float operations in the same order, every pixel written before it is read).

#include "figure/dressing.h"
#include "core/rgba_image.h"

namespace drapeline::figure {

// How the figure is looked at. Yaw 0 shows the front; the figure turns about its upright
// axis, and zoom 1 fits its height into the picture.
class Camera {
public:
    float yaw() const { return yaw_; }         // degrees, in [0, 360)
    float zoom() const { return zoom_; }
    void setYaw(float degrees);
    void turn(float degrees) { setYaw(yaw_ + degrees); }
    void zoomBy(float factor);                 // kept within [MinZoom, MaxZoom]
    void reset() { yaw_ = 0, zoom_ = 1; }
    static constexpr float MinZoom = 0.5f, MaxZoom = 6.0f;

private:
    float yaw_ = 0;
    float zoom_ = 1;
};

// Keeps its depth buffer between frames, so turning the figure allocates nothing.
class Renderer {
public:
    // The figure drawn over `background` (transparent by default) into `image`, which is
    // resized to width x height.
    void render(const DressedFigure& figure, const Camera& camera, int width, int height,
                RgbaImage& image, Rgba background = {});
    RgbaImage render(const DressedFigure& figure, const Camera& camera, int width, int height,
                     Rgba background = {});

private:
    std::vector<float> depth_;
};

}  // namespace drapeline::figure
