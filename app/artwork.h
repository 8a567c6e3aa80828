#pragma once
// Drapeline's own pictures, drawn in code so that no image file has to ship.

#include <QImage>

namespace drapeline::app {

// The title window's picture: 396 x 273 pixels, 256 colours.
QImage titleImage();

}  // namespace drapeline::app

namespace drapeline::app {

// Stock pictures that stand in for images that can not be loaded. Each is the same
// image on every call.
QImage picNotFound();        // an outfit texture: 256 x 256
QImage picHandNotFound();    // a hand texture: 64 x 64
QImage picWebNotFound();     // a sim's web image or faces: 90 x 60
QImage picNoBitmaps();       // a sim's relationship images: 240 x 60
QImage picCanNotLoad();      // an unreadable character file's thumbnail: 45 x 45

}  // namespace drapeline::app
