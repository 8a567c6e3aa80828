#pragma once
// Finding the bitmap that shows a texture: GameLocation + folder + texture + ".bmp",
// folder by folder, the first that loads.

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/iff_file.h"
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

// The sim's own pictures, by the names the bitmap export gives them.
inline constexpr char WebImageFile[] = "web_image.BMP";
inline constexpr char FacesFile[] = "faces.BMP";
inline constexpr char RelImagesFile[] = "relimages.BMP";

// The program folder's subfolder that holds the exported pictures of the sim shown last,
// and how many of them it keeps.
inline constexpr char SimPicturesFolder[] = "SimPictures";
inline constexpr std::size_t MostExportedPictures = 64;

std::string simPicturesFolder(const std::string& programFolder);

// Deletes the exported pictures of the sim shown before, ignoring any failure.
void removeSimImages(const std::string& programFolder);

// The BMP_ chunk the export writes under `fileName` (any letter case): the last of that
// name, or null.
const IffChunk* simImageChunk(const IffFile& iff, std::string_view fileName);

struct SimImages {
    platform::ShownPicture webImage, faces, relImages;
};

// Exports the sim's pictures into the pictures folder (the three shown first, at most
// MostExportedPictures) and shows the three from the character file's bytes in memory, so
// a folder that is full or read-only costs the files, never the pictures. A picture names
// the file it was exported to, or `characterPath` when none could be written; one the sim
// lacks, or that does not decode, is its stock picture from `fallbacks`.
SimImages exportAndShowSimImages(const platform::PictureLoader& loader, const IffFile& iff,
                                 const std::string& characterPath, const std::string& programFolder,
                                 const std::array<platform::StockPicture, 3>& fallbacks);

}  // namespace drapeline::wardrobe
