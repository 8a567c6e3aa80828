#pragma once
// What is wrong with the wardrobes of a neighbourhood: for every sim, each outfit's mesh
// and texture and each hand's texture with a mark, and the problems found, by rules built
// on the wardrobe's own reading and the skin folders as the chooser sees them. The
// overview window and the command-line tool show the same rows.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "skins/installed_skins.h"
#include "wardrobe/sim_file.h"
#include "wardrobe/wardrobe_record.h"

namespace drapeline::audit {

enum class ProblemKind { Unreadable, Layout, MeshMissing, TextureMissing, SkinTone, BodyType, PinkHands };
inline constexpr std::array<ProblemKind, 7> AllProblemKinds{
    ProblemKind::Unreadable, ProblemKind::Layout,   ProblemKind::MeshMissing, ProblemKind::TextureMissing,
    ProblemKind::SkinTone,   ProblemKind::BodyType, ProblemKind::PinkHands};

// "unreadable", "layout", "missing-mesh", "missing-texture", "skin-tone", "body-type",
// "pink-hands": the names the command line and the exports use.
const char* kindId(ProblemKind kind);
std::optional<ProblemKind> kindFromId(std::string_view id);
// "Can not be read", "Layout", "Mesh not installed", ...: the window's words.
const char* kindCaption(ProblemKind kind);

struct Problem {
    ProblemKind kind;
    std::string where;   // "Formal", "Open left"; "" for the whole file
    std::string text;    // a sentence for the user
};

enum class Mark { Ok, Problem, Empty, NotHeld };

struct Worn {
    std::string mesh;      // outfits only
    std::string texture;
    Mark mark = Mark::Ok;
};

struct SimRow {
    std::string neighbourhood;   // "UserData2", when the caller names it
    std::string file;         // "User00012.iff"
    std::string path;
    std::string name;         // the first name, "" when the file has none
    std::string age, gender;  // entries 1 and 13
    std::string skinTone;     // the code of entry 15: "lgt", "med", "drk"
    std::string bodyType;     // of the normal mesh, lower case: "fit", "fat", "skn", "chd"
    std::array<Worn, 6> outfits;   // by OutfitKind
    std::array<Worn, 8> hands;     // by HandSlot
    std::vector<Problem> problems;
    ByteText portrait;        // the web image's bitmap, when asked for

    bool readable() const;
    bool has(ProblemKind kind) const;
    const Worn& outfit(wardrobe::OutfitKind k) const { return outfits[static_cast<std::size_t>(k)]; }
    const Worn& hand(wardrobe::HandSlot s) const { return hands[static_cast<std::size_t>(s)]; }
};

// The skin-tone code in a texture's name: the three letters before its first "_" (the
// name's last three when it has none), when they are "lgt", "med" or "drk" (any case);
// "huaolgt", "b003fafitmed_01". Nothing for a texture of no tone ("gfao_bride").
std::optional<std::string> toneCodeOf(std::string_view texture);
// The texture with its tone code replaced by `tone`, the rest as spelt.
std::string withTone(std::string_view texture, std::string_view tone);

// The rows of an opened sim and of one that could not be (its reader's error).
SimRow auditOpened(const std::string& path, const wardrobe::OpenedSim& sim,
                   const skins::InstalledSkins& skins, bool portrait = false);
SimRow auditFile(const std::string& path, const skins::InstalledSkins& skins, bool portrait = false);

// Every sim of a neighbourhood folder in list order; the skin folders listed once for all.
std::vector<SimRow> auditNeighbourhood(const std::string& gameLocation, const std::string& folder,
                                       bool portraits = false);

}  // namespace drapeline::audit
