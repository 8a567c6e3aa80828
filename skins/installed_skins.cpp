#include "skins/installed_skins.h"

#include <algorithm>

#include "core/ascii.h"
#include "platform/files.h"

namespace drapeline::skins {

namespace {

constexpr std::array<const char*, 3> Folders{"GameData/Skins", "ExpansionPack3/SkinsBuy",
                                             "ExpansionShared/SkinsBuy"};

}  // namespace

InstalledSkins InstalledSkins::list(const std::string& gameLocation) {
    InstalledSkins skins;
    // Every file is kept, not only the meshes and bitmaps: a look-up names its suffix, so the
    // others are never found, and testing each name against two patterns costs more than
    // keeping them.
    for (std::size_t folder = 0; folder < Folders.size(); ++folder) {
        skins.folders_[folder] = platform::listFolder(platform::resolvePath(gameLocation, Folders[folder]), "*",
                                                      platform::Listing::FilesOnly);
    }
    return skins;
}

bool InstalledSkins::in(std::size_t firstFolder, std::size_t endFolder, std::string_view name,
                        std::string_view suffix) const {
    std::string file(name);
    file += suffix;
    // The listing's order (platform::lessIgnoringCase) with names that differ in letter
    // case alone taken as equal.
    const auto less = [](std::string_view a, std::string_view b) {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            const auto x = static_cast<unsigned char>(ascii::toLower(a[i]));
            const auto y = static_cast<unsigned char>(ascii::toLower(b[i]));
            if (x != y) return x < y;
        }
        return a.size() < b.size();
    };
    for (std::size_t f = firstFolder; f < endFolder; ++f)
        if (std::binary_search(folders_[f].begin(), folders_[f].end(), std::string_view(file), less)) return true;
    return false;
}

bool InstalledSkins::mesh(std::string_view name) const { return in(0, folders_.size(), name, ".cmx"); }
bool InstalledSkins::texture(std::string_view name) const { return in(0, folders_.size(), name, ".bmp"); }
bool InstalledSkins::handTexture(std::string_view name) const { return in(0, 1, name, ".bmp"); }

}  // namespace drapeline::skins
