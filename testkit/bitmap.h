#pragma once
// Windows bitmap files (uncompressed, bottom-up rows padded to 4 bytes), the format the
// game keeps its textures and a sim's pictures in.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/errors.h"
#include "testkit/canvas.h"

namespace drapeline::testkit {

ByteText bitmap24(int width, int height, const std::function<Rgb(int x, int y)>& pixel);
ByteText bitmap8(int width, int height, const std::vector<Rgb>& palette,
                 const std::function<std::uint8_t(int x, int y)>& index);
ByteText solidBitmap(int width, int height, Rgb colour);

ByteText encode24(const Canvas& canvas);
// 256 colours at most: the picture's own colours when it has that few, otherwise the most
// used colours (counted at 5 bits a channel) with every pixel mapped to its nearest one.
// The same picture always gives the same bytes.
ByteText encode8(const Canvas& canvas);

}  // namespace drapeline::testkit
