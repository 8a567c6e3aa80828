#include "skins/installed_skins.h"

#include <array>

#include "skins/skin_catalogue.h"
#include "platform/files.h"

namespace drapeline::skins {

namespace {

constexpr std::array<const char*, 3> Folders{"GameData/Skins", "ExpansionPack3/SkinsBuy",
                                             "ExpansionShared/SkinsBuy"};

// The name without its last four characters, folded, when it ends in `suffix` (any case).
bool stem(const std::string& file, std::string_view suffix, std::string& out) {
    if (file.size() <= suffix.size()) return false;
    const std::string_view end = std::string_view(file).substr(file.size() - suffix.size());
    if (!platform::equalIgnoringCase(end, suffix)) return false;
    out = platform::foldCase(std::string_view(file).substr(0, file.size() - suffix.size()));
    return true;
}

}  // namespace

InstalledSkins InstalledSkins::list(const std::string& gameLocation) {
    InstalledSkins skins;
    FolderListing listing(gameLocation, Folders, {"*.cmx", "*.bmp"});
    std::string name;
    for (std::size_t folder = 0; folder < listing.size(); ++folder)
        for (const auto& file : listing.names(folder)) {
            ++skins.files_;
            if (stem(file, ".cmx", name)) {
                skins.meshes_.insert(name);
            } else if (stem(file, ".bmp", name)) {
                if (folder == 0) skins.handTextures_.insert(name);
                skins.textures_.insert(std::move(name));
            }
        }
    return skins;
}

bool InstalledSkins::mesh(std::string_view name) const { return meshes_.count(platform::foldCase(name)) > 0; }
bool InstalledSkins::texture(std::string_view name) const {
    return textures_.count(platform::foldCase(name)) > 0;
}
bool InstalledSkins::handTexture(std::string_view name) const {
    return handTextures_.count(platform::foldCase(name)) > 0;
}

}  // namespace drapeline::skins
