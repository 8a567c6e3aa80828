#include "core/bitmap_export.h"

#include <filesystem>

#include "core/binary_support.h"
#include "core/file_io.h"

namespace drapeline {

namespace bitmaps {

std::string exportName(const IffChunk& chunk) {
    // A label without a NUL comes from a file written elsewhere; it is taken whole rather
    // than refused, since a picture's name must never end the program.
    const std::string_view label(chunk.Label);
    return iff::cleanFileName(label.substr(0, label.find('\0'))) + ".BMP";
}

std::vector<std::string> exportAll(const IffFile& iff, const std::string& folder) {
    std::vector<std::string> written;
    for (const auto& chunk : iff.Chunks) {
        if (chunk.TypeCode != "BMP_") continue;
        std::string name = exportName(chunk);
        // Whole-file writes through a rename: a shorter picture never keeps the tail of an
        // older one, and a link planted under the name is replaced, not written through.
        writeWholeFile((std::filesystem::path(folder) / name).string(), chunk.Data);
        written.push_back(std::move(name));
    }
    return written;
}

}  // namespace bitmaps

namespace iff {

void dumpBitmaps(const IffFile& iff, const std::string& programFolder) {
    guarded("modIFFsupport", "gsDumpBMPs", Stages::None,
            [&] { bitmaps::exportAll(iff, programFolder); });
}

}  // namespace iff

}  // namespace drapeline
