#pragma once
// Finding the bitmap that shows a texture: GameLocation + folder + texture + ".bmp",
// folder by folder, the first that loads.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/pictures.h"

namespace drapeline::wardrobe {

// Where the bitmaps of textures lie in the skin folders, for the lookups of one opening of
// the edit window: a name present as spelt costs one look; the first name that is not
// has its folder's names read, once, to find it in another letter case.
class SkinBitmaps {
public:
    explicit SkinBitmaps(std::string gameLocation) : gameLocation_(std::move(gameLocation)) {}
    // The bitmap of `texture` in `folder` (below the game folder, any letter case): the
    // name as spelt when it is there, else the one that differs only in case (the first
    // in byte order), else the name as spelt. "" for an empty texture and for one holding
    // a path separator or a colon: names come from character files and must not lead
    // outside the skin folders.
    std::string bitmapPath(const std::string& folder, const std::string& texture);

private:
    struct Folder {
        std::string path;
        std::optional<std::unordered_map<std::string, std::string>> byFoldedName;
    };
    std::string gameLocation_;
    std::map<std::string, Folder> folders_;
};

// The first of `folders` whose bitmap of `texture` loads; otherwise `fallback`.
platform::ShownPicture findPreview(const platform::PictureLoader& loader, SkinBitmaps& bitmaps,
                                   const std::string& texture, std::span<const char* const> folders,
                                   platform::StockPicture fallback);

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
