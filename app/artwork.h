#pragma once
// Drapeline's own pictures, drawn in code so that no image file has to ship.

#include <QImage>

namespace drapeline::app {

// The title window's picture: 396 x 273 pixels, 256 colours.
QImage titleImage();

}  // namespace drapeline::app
