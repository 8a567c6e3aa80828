// The names pictures are exported under (the thumbnails, the preview, the edit window and
// export-bitmaps all take them from here) for arbitrary labels: never an error, and always
// a plain file name in the folder it is written to, never one Windows takes for a device.

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "core/bitmap_export.h"
#include "core/iff_file.h"

using namespace drapeline;

namespace {

// Windows opens these devices in place of a file of the name, whatever the extension.
bool reservedDevice(std::string base) {
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Every 64 bytes are one label, as a chunk header holds it; a shorter tail is a label
    // too, as a broken writer might leave it.
    for (std::size_t at = 0; at < bytes.size() || at == 0; at += ChunkLabelSize) {
        IffChunk chunk;
        chunk.typeCode = "BMP_";
        chunk.label = ByteText(bytes.substr(at, ChunkLabelSize));
        const std::string name = bitmaps::exportName(chunk);
        const bool plain = name.size() >= 4 && name.size() <= ChunkLabelSize + 4 &&
                           name.compare(name.size() - 4, 4, ".BMP") == 0 &&
                           name.find_first_of(std::string_view("/\\:\0", 4)) == std::string::npos &&
                           name != "." && name != ".." && !reservedDevice(name.substr(0, name.size() - 4));
        if (!plain) std::abort();
        if (at >= bytes.size()) break;
    }
    return 0;
}
