#pragma once
// Writing a character file's pictures out as bitmap files (the edit window's and the
// main window's copies, and the command line's export), through the one file writer.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/bitmap_export.h"
#include "core/iff_file.h"

namespace drapeline::platform {

// Every BMP_ chunk's data, in chunk order, as a whole file in `folder`; the file names
// written, one per chunk. Throws RuntimeError.
std::vector<std::string> exportAllPictures(const IffFile& iff, const std::string& folder);

// What a bounded export wrote, and what it did not.
struct ExportReport {
    std::vector<std::string> written;   // file names, in the order written
    std::vector<std::string> failed;    // names whose file could not be written
    std::size_t leftOut = 0;            // pictures past the limit
};

// The pictures bitmaps::picturesToExport chooses, written into `folder`. A picture that can
// not be written (full disk, read-only folder, a name the system refuses) is reported and
// the others are still tried; only the unexpected (memory) throws. Guarded as the
// procedure gsDumpBMPs.
ExportReport dumpBitmaps(const IffFile& iff, const std::string& folder, std::size_t limit,
                         std::span<const std::string_view> first);

}  // namespace drapeline::platform
