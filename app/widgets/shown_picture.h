#pragma once
// Turns what the logic decided to show (a loaded picture or a stock one) into an image.

#include <QImage>

#include "platform/pictures.h"

namespace drapeline::app {

// The loaded picture's image, else the stock picture, else a null image (nothing shown).
QImage imageFor(const platform::ShownPicture& shown);
QImage stockImage(platform::StockPicture stock);

}  // namespace drapeline::app
