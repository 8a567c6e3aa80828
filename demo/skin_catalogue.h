#pragma once
// The skins of the demo game: which body meshes and textures lie in which of the three
// skin folders, named as the game names them, and the hand textures. Sims choose what
// they wear from here, so every texture a demo sim wears is a file of the demo game.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "demo/textures.h"

namespace drapeline::demo {

inline constexpr std::array<std::string_view, 3> ToneCodes{"lgt", "med", "drk"};
inline constexpr std::array<std::string_view, 3> BodyTypes{"fit", "fat", "skn"};
inline constexpr std::string_view ChildBody = "chd";

// Relative to the game folder, "/" between components.
inline constexpr std::array<std::string_view, 3> SkinFolders{
    "GameData/Skins", "ExpansionPack3/SkinsBuy", "ExpansionShared/SkinsBuy"};
enum Folder { Base = 0, Pack3 = 1, Shared = 2 };

struct SkinTexture {
    std::string name;         // file stem
    std::string tone;
    std::string styleKey;     // the name without its tone: one look, three skin tones
    Garment garment = Garment::Normal;
    bool female = false;
    bool child = false;
    int size = 128;
    bool eightBit = true;
    bool unreadable = false;  // garbage under a texture's name
};

struct SkinModel {
    Folder folder = Base;
    std::string mesh;         // file stem, e.g. "b003fafit_01"
    bool female = false;
    bool child = false;
    std::vector<SkinTexture> textures;
};

struct HandTexture {
    std::string name;
    HandStyle style;
};

struct SkinCatalogue {
    std::vector<SkinModel> models;
    std::vector<HandTexture> hands;   // all in the base folder

    // The first model with this mesh name (exact); nullptr when there is none.
    const SkinModel* model(std::string_view mesh) const;
};

const SkinCatalogue& demoSkins();

// The texture of `mesh` for a tone, as the game names it: the mesh up to its first "_",
// the tone code, then the rest ("b003fafit_01" + "lgt" -> "b003fafitlgt_01").
std::string textureName(std::string_view mesh, std::string_view tone);

}  // namespace drapeline::demo
