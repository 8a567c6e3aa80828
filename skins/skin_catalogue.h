#pragma once
// Finding the installed skins that fit a sim: body meshes ("models") for an outfit, the
// textures of a chosen model in the sim's skin tone, and the hand textures. Rebuilt from
// the skin folders on every search; nothing is cached between searches.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pictures.h"

namespace drapeline::skins {

// The filter code: gender letter, age letter, skin tone (3), body type (3), outfit letter.
// Positions are fixed; a shorter code reads as empty texts where it ends.
struct SkinData {
    std::string_view code;
    std::string_view gender() const;     // position 1
    std::string_view age() const;        // position 2
    std::string_view skinTone() const;   // positions 3-5
    std::string_view bodyType() const;   // positions 6-8
    std::string_view outfit() const;     // from position 9 on
};

// "K????Cchd_*" for a child (age exactly "c"), else K + "???" + gender and age + body type + "_*".
std::string modelPattern(char outfitLetter, const SkinData& data);

// Models of all six outfit letters (B, F, L, S, N, W) in search order: base folder without
// a duplicate test, then each expansion folder adding names not yet listed (any case).
std::vector<std::string> msGetModelList(const std::string& gameLocation, const SkinData& data);
// Models of the outfit letter at position 9 (upper-cased) only; none for another letter.
std::vector<std::string> msGetFilteredModelList(const std::string& gameLocation, const SkinData& data);

// A texture search's result: the files that loaded, in search order, with their decoded
// pictures (so a page of thumbnails never decodes a file again), and the names of the
// files that did not load.
struct TextureSearch {
    std::vector<std::string> files;                // full paths
    std::vector<platform::PicturePtr> pictures;    // one per file
    std::vector<std::string> bad;                  // file names, no path
};

// Textures of `model` in the sim's skin tone: model prefix (up to its first "_") + tone +
// "_*.bmp" in each skin folder in order; a texture in two folders is listed twice. Every
// file is test-loaded (on all cores, the result order kept). Throws RuntimeError 5 for a
// model without "_".
TextureSearch msGetSkinFileNames(const std::string& gameLocation, const std::string& model,
                                 const SkinData& data, const platform::PictureLoader& loader);

// Hand textures: "h*.bmp" then "g???_*.bmp" in the base skin folder, test-loaded.
TextureSearch msGetHandFileNames(const std::string& gameLocation,
                                 const platform::PictureLoader& loader);

// The "Bad Skin Files Detected" message text for the files that did not load.
std::string badSkinFilesMessage(const std::vector<std::string>& bad);

// Decodes `paths` with `loader` on up to `threads` threads (0: one per core); the
// result has one entry per path, in order, null where a file did not load.
std::vector<platform::PicturePtr> decodeAll(const std::vector<std::string>& paths,
                                            const platform::PictureLoader& loader,
                                            std::size_t threads = 0);

}  // namespace drapeline::skins
