#include "core/bitmap_export.h"

#include <filesystem>

#include "core/binary_support.h"
#include "core/file_io.h"

namespace drapeline {

namespace bitmaps {

std::string exportName(const IffChunk& chunk) {
    return modIFFsupport::gfstrCleanFileName(modBinarySupport::gfstrTrimNull(chunk.Label)) +
           ".BMP";
}

std::vector<std::string> exportAll(const IffFile& iff, const std::string& folder) {
    std::vector<std::string> written;
    for (const auto& chunk : iff.Chunks) {
        if (chunk.TypeCode != "BMP_") continue;
        std::string name = exportName(chunk);
        // Whole-file writes: a shorter picture never keeps the tail of an older one.
        writeWholeFile((std::filesystem::path(folder) / name).string(), chunk.Data);
        written.push_back(std::move(name));
    }
    return written;
}

}  // namespace bitmaps

namespace modIFFsupport {

void gsDumpBMPs(const IffFile& iff, const std::string& programFolder) {
    guarded("modIFFsupport", "gsDumpBMPs", Stages::None,
            [&] { bitmaps::exportAll(iff, programFolder); });
}

}  // namespace modIFFsupport

}  // namespace drapeline
