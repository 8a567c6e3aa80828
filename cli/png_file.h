#pragma once
// PNG pictures of the dressed preview, for the render command.

#include "core/errors.h"
#include "core/rgba_image.h"

namespace drapeline::cli {

// The picture as PNG bytes, with its alpha.
ByteText encodePng(const RgbaImage& image);

}  // namespace drapeline::cli
