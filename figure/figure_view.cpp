#include "figure/figure_view.h"

#include <cmath>

namespace drapeline::figure {

void FigureView::show(const DressRequest& request) {
    if (dressed_ && request == request_) return;
    request_ = request;
    figure_ = dress(library_, request_);
    dressed_ = true;
}

void FigureView::drag(int pixels, int width) {
    if (width > 0) camera_.turn(180.0f * static_cast<float>(pixels) / static_cast<float>(width));
}

void FigureView::wheel(int eighthsOfDegree) {
    camera_.zoomBy(std::pow(1.1f, static_cast<float>(eighthsOfDegree) / 120.0f));
}

const RgbaImage& FigureView::image(int width, int height, Rgba background) {
    renderer_.render(figure_, camera_, width, height, image_, background);
    return image_;
}

}  // namespace drapeline::figure
