#pragma once
// Every mesh and texture installed in the skin folders, listed once, for the checks that
// ask "is it installed?" of many sims at once (a neighbourhood's audit). The names are the
// ones meshInstalled, textureInstalled and handTextureInstalled find, folder by folder.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace drapeline::skins {

class InstalledSkins {
public:
    // Lists the three skin folders of the game once each.
    static InstalledSkins list(const std::string& gameLocation);

    // NAME.cmx in any skin folder; NAME.bmp in any skin folder; NAME.bmp in the base
    // folder, where the chooser looks for hands. Any letter case.
    bool mesh(std::string_view name) const;
    bool texture(std::string_view name) const;
    bool handTexture(std::string_view name) const;

private:
    bool in(std::size_t firstFolder, std::size_t endFolder, std::string_view name, std::string_view suffix) const;

    // Each folder's file names as the listing gives them, sorted without regard to case, so
    // that a look-up is a search and the listing is never copied.
    std::array<std::vector<std::string>, 3> folders_;
};

}  // namespace drapeline::skins
