// The names pictures are exported under (the thumbnails, the preview, the edit window and
// export-bitmaps all take them from here) for arbitrary labels: never an error, and always
// a plain file name in the folder it is written to.

#include <cstdint>
#include <cstdlib>

#include "core/bitmap_export.h"
#include "core/iff_file.h"

using namespace drapeline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Every 64 bytes are one label, as a chunk header holds it; a shorter tail is a label
    // too, as a broken writer might leave it.
    for (std::size_t at = 0; at < bytes.size() || at == 0; at += ChunkLabelSize) {
        IffChunk chunk;
        chunk.TypeCode = "BMP_";
        chunk.Label = ByteText(bytes.substr(at, ChunkLabelSize));
        const std::string name = bitmaps::exportName(chunk);
        const bool plain = name.size() >= 4 && name.size() <= ChunkLabelSize + 4 &&
                           name.compare(name.size() - 4, 4, ".BMP") == 0 &&
                           name.find_first_of(std::string_view("/\\:\0", 4)) == std::string::npos &&
                           name != "." && name != "..";
        if (!plain) std::abort();
        if (at >= bytes.size()) break;
    }
    return 0;
}
