#pragma once
// Finding the bitmap that shows a texture: GameLocation + folder + texture + ".bmp",
// folder by folder, the first that loads.

#include <span>
#include <string>

#include "platform/pictures.h"

namespace drapeline::wardrobe {

// The first of `folders` (below the game folder, any letter case) whose bitmap of
// `texture` loads; otherwise `fallback`. An empty texture names no bitmap, nor does one
// holding a path separator (or a colon): names come from character files and must not
// lead outside the skin folders.
platform::ShownPicture findPreview(const platform::PictureLoader& loader,
                                   const std::string& gameLocation, const std::string& texture,
                                   std::span<const char* const> folders,
                                   platform::StockPicture fallback);

// The bitmap path of `texture` in one folder (resolved without regard to case), or ""
// for an empty texture name or one that holds a path separator or a colon.
std::string textureBitmapPath(const std::string& gameLocation, const std::string& folder,
                              const std::string& texture);

}  // namespace drapeline::wardrobe
