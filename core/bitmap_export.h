#pragma once
// Which of a character file's pictures ("BMP_" chunks) are exported as bitmap files, and
// under which names; platform/picture_export.h writes them.

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

// A picture to export: its file name and the chunk that holds it.
struct PlannedPicture {
    std::string name;
    const IffChunk* chunk;
};

// Every BMP_ chunk in chunk order, under its export name (a name may come twice; a later
// file of the same name replaces the earlier, as it always has).
std::vector<PlannedPicture> allPictures(const IffFile& iff);

// At most `limit` pictures, one per file name (letter case aside), each from the last chunk
// of that name: the names in `first` before the others, which follow in chunk order. A sim
// may carry thousands of pictures and a person looks at three, so the rest are left out.
struct PicturePlan {
    std::vector<PlannedPicture> pictures;
    std::size_t leftOut = 0;   // pictures past the limit
};
PicturePlan picturesToExport(const IffFile& iff, std::size_t limit, std::span<const std::string_view> first);

}  // namespace bitmaps

}  // namespace drapeline
