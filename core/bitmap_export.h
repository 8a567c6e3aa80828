#pragma once
// Writing a character file's pictures ("BMP_" chunks) out as bitmap files, so that the
// windows can load them as pictures.

#include <string>
#include <vector>

#include "core/iff_file.h"

namespace drapeline {

namespace bitmaps {

// The file name a BMP_ chunk is exported under: the label cut at its first NUL (whole when
// it has none), cleaned, + ".BMP" ("rel. images" -> "relimages.BMP").
std::string exportName(const IffChunk& chunk);

// Writes every BMP_ chunk's data, in chunk order, as a whole file (written beside and renamed into place)
// in `folder`; returns the file names written, one per chunk. Throws RuntimeError.
std::vector<std::string> exportAll(const IffFile& iff, const std::string& folder);

}  // namespace bitmaps

namespace iff {

// bitmaps::exportAll into the program folder. Guarded.
void dumpBitmaps(const IffFile& iff, const std::string& programFolder);

}  // namespace iff

}  // namespace drapeline
