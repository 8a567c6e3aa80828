#include "cli/png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace drapeline::cli {

namespace {

void append(void* context, void* data, int size) {
    static_cast<ByteText*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

ByteText encodePng(const RgbaImage& image) {
    ByteText out;
    if (image.width <= 0 || image.height <= 0) return out;
    stbi_write_png_to_func(append, &out, image.width, image.height, 4, image.pixels.data(), image.width * 4);
    return out;
}

}  // namespace drapeline::cli
