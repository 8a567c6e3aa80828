#pragma once
// Decodes the game's texture bitmaps (uncompressed Windows bitmaps of 1, 4, 8, 24 or 32
// bits a pixel, rows bottom-up or top-down) into RGBA. The platform's checker only looks at
// headers; the preview needs the pixels, without Qt. Every header field is checked against
// the file before anything is allocated.

#include <optional>
#include <string_view>

#include "core/rgba_image.h"

namespace drapeline {

// Textures above this side are refused as damaged: the game's largest are 512.
inline constexpr int MaxTextureSide = 4096;

// Nothing when the bytes are not such a bitmap or do not hold all its pixels.
std::optional<RgbaImage> decodeBitmap(std::string_view bytes);

}  // namespace drapeline
