#pragma once
// Writing a character file's pictures ("BMP_" chunks) out as bitmap files, so that the
// windows can load them as pictures.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/iff_file.h"

namespace drapeline {

namespace bitmaps {

// The file name a BMP_ chunk is exported under: the label cut at its first NUL (whole when
// it has none), cleaned, + ".BMP" ("rel. images" -> "relimages.BMP"). A name Windows
// keeps for a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9, any case) gets a "_" before
// the extension ("con" -> "con_.BMP").
std::string exportName(const IffChunk& chunk);

// Writes every BMP_ chunk's data, in chunk order, as a whole file (written beside and renamed into place)
// in `folder`; returns the file names written, one per chunk. Throws RuntimeError.
std::vector<std::string> exportAll(const IffFile& iff, const std::string& folder);

// What a bounded export wrote, and what it did not.
struct ExportReport {
    std::vector<std::string> written;   // file names, in the order written
    std::vector<std::string> failed;    // names whose file could not be written
    std::size_t leftOut = 0;            // pictures past the limit
};

// Writes at most `limit` pictures into `folder`, one per file name (letter case aside),
// each from the last chunk of that name, as exportAll leaves them: the names in `first`
// before the others, which follow in chunk order. A sim may carry thousands of pictures
// and a person looks at three, so the rest are left out. A picture that can not be
// written (full disk, read-only folder, a name the system refuses) is reported and the
// others are still tried; only the unexpected (memory) throws.
ExportReport exportSome(const IffFile& iff, const std::string& folder, std::size_t limit,
                        std::span<const std::string_view> first);

}  // namespace bitmaps

namespace iff {

// bitmaps::exportSome, guarded: what can not be written is reported, never trapped.
bitmaps::ExportReport dumpBitmaps(const IffFile& iff, const std::string& folder, std::size_t limit,
                                  std::span<const std::string_view> first);

}  // namespace iff

}  // namespace drapeline
