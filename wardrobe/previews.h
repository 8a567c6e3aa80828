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

// The sim's own pictures as the bitmap export leaves them in the program folder.
inline constexpr char WebImageFile[] = "web_image.BMP";
inline constexpr char FacesFile[] = "faces.BMP";
inline constexpr char RelImagesFile[] = "relimages.BMP";

// Deletes the three picture files (any letter case) before another sim's are exported,
// so that a sim without one of them never shows the previous sim's.
void removeSimImages(const std::string& programFolder);

// One exported picture file of the program folder (any letter case), or `fallback`.
platform::ShownPicture loadSimImage(const platform::PictureLoader& loader,
                                    const std::string& programFolder, const char* fileName,
                                    platform::StockPicture fallback);

}  // namespace drapeline::wardrobe
