#pragma once
// Finding the installed skins that fit a sim: body meshes ("models") for an outfit, the
// textures of a chosen model in the sim's skin tone, and the hand textures. Each search
// lists each skin folder once and matches its patterns against that listing; only the
// chooser keeps a mesh listing, for the filter clicks of one opening.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
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

// The plain files of some folders below the game folder that match any of a search's
// patterns, each folder resolved and listed (sorted without regard to case) the first
// time it is asked for, and never again.
class FolderListing {
public:
    FolderListing(std::string gameLocation, std::span<const char* const> folders,
                  std::vector<std::string> patterns);
    std::size_t size() const { return folders_.size(); }
    const std::string& path(std::size_t folder);
    const std::vector<std::string>& names(std::size_t folder);

private:
    struct Listed {
        const char* relative;
        std::optional<std::string> path;
        std::optional<std::vector<std::string>> names;
    };
    std::string gameLocation_;
    std::vector<Listed> folders_;
    std::vector<std::string> patterns_;
};

// The names of `listing` that match `pattern`, in listing order: what listing the folder
// with that pattern alone gives, when the listing's patterns include it.
std::vector<std::string> matching(const std::vector<std::string>& listing, std::string_view pattern);

// The three folders a model search lists, base folder first, with the meshes of all six
// outfit letters for `data` (so that the filtered search finds its letter's there too).
FolderListing meshListing(const std::string& gameLocation, const SkinData& data);

// Models of all six outfit letters (B, F, L, S, N, W) in search order: base folder without
// a duplicate test, then each expansion folder adding names not yet listed (any case).
std::vector<std::string> findModels(FolderListing& meshes, const SkinData& data);
std::vector<std::string> findModels(const std::string& gameLocation, const SkinData& data);
// Models of the outfit letter at position 9 (upper-cased) only; none for another letter.
std::vector<std::string> findFilteredModels(FolderListing& meshes, const SkinData& data);
std::vector<std::string> findFilteredModels(const std::string& gameLocation, const SkinData& data);

// A texture search's result: the files that loaded, in search order, and the names of the
// files that did not load. No picture is kept: a page of thumbnails decodes its own.
struct TextureSearch {
    std::vector<std::string> files;                // full paths
    std::vector<std::string> bad;                  // file names, no path
};

// Set from another thread to stop a texture search; the search then gives nothing.
using StopFlag = std::atomic<bool>;

// Textures of `model` in the sim's skin tone: model prefix (up to its first "_") + tone +
// "_*.bmp" in each skin folder in order; a texture in two folders is listed twice. Every
// file is test-loaded (on all cores, the result order kept). Throws RuntimeError 5 for a
// model without "_". Nothing when `stop` was set before the search ended.
std::optional<TextureSearch> searchSkinFiles(const std::string& gameLocation, const std::string& model,
                                             const SkinData& data, const platform::PictureLoader& loader,
                                             const StopFlag& stop);
TextureSearch findTextures(const std::string& gameLocation, const std::string& model,
                                 const SkinData& data, const platform::PictureLoader& loader);

// Hand textures: "h*.bmp" then "g???_*.bmp" in the base skin folder, test-loaded.
TextureSearch findHandTextures(const std::string& gameLocation,
                                 const platform::PictureLoader& loader);

// Whether a name the chooser could offer is installed: a mesh as NAME.cmx in the folders
// a model search lists, an outfit texture as NAME.bmp in the three skin folders, a hand
// texture as NAME.bmp in the base skin folder only, each without regard to letter case.
// Nothing is test-loaded.
bool meshInstalled(const std::string& gameLocation, std::string_view mesh);
bool textureInstalled(const std::string& gameLocation, std::string_view texture);
bool handTextureInstalled(const std::string& gameLocation, std::string_view texture);

// The "Bad Skin Files Detected" message text for the files that did not load.
std::string badSkinFilesMessage(const std::vector<std::string>& bad);

// Runs work(i) for every i below `count` on up to `threads` threads (0: one per core),
// each index once. A `work` that throws stops the others early and its exception is
// rethrown here; so does setting `stop`, which makes this return false.
bool forEachOnAllCores(std::size_t count, const std::function<void(std::size_t)>& work,
                       const StopFlag* stop = nullptr, std::size_t threads = 0);

// Decodes `paths` with `loader` on up to `threads` threads (0: one per core); the
// result has one entry per path, in order, null where a file did not load.
std::vector<platform::PicturePtr> decodeAll(const std::vector<std::string>& paths,
                                            const platform::PictureLoader& loader,
                                            std::size_t threads = 0);

}  // namespace drapeline::skins
