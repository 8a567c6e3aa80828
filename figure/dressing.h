#pragma once
// Dressing a sim: which skeleton, suits, meshes and textures its wardrobe names for the
// outfit and the hand pose being looked at, found in the game and posed. Whatever can not
// be found is named in `missing` in plain words and the rest is still dressed.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/string_set.h"
#include "figure/model_library.h"
#include "figure/pose.h"
#include "wardrobe/default_rules.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::figure {

// A suit to hang on the skeleton and the texture it wears.
struct Garment {
    std::string suit;
    std::string texture;
    bool operator==(const Garment&) const = default;
};

struct DressRequest {
    std::string age;        // the age entry: "adult" names the adult skeleton, anything else the child's
    Garment body;           // hangs on PELVIS
    Garment head;           // hangs on HEAD
    Garment leftHand;       // hang on L_HAND and R_HAND
    Garment rightHand;
    std::string outfitCaption;   // "Normal", ...: names an outfit the wardrobe does not hold
    bool operator==(const DressRequest&) const = default;
};

// The head entry (entry 3) of a sim's body strings, or "" when the set is shorter.
std::string headEntry(const StringSet& bodyStrings);

// The head entry is not among the edit window's fields: it is passed as read (headEntry).
// The hands a sim shows in an outfit: the formal pair with the formal outfit, the open
// pair with every other; and the outfit a pose's hands are shown with.
wardrobe::HandPose handsWornWith(wardrobe::OutfitKind outfit);
wardrobe::OutfitKind outfitWornWith(wardrobe::HandPose pose);

DressRequest dressRequest(const wardrobe::WardrobeFields& fields, std::string_view headEntry,
                          wardrobe::OutfitKind outfit, wardrobe::HandPose hands);

enum class PartOf { Body, Head, Hand };

struct FigurePart {
    PosedMesh mesh;
    std::shared_ptr<const RgbaImage> texture;   // null: drawn in a plain grey
    PartOf of = PartOf::Body;
};

struct Bounds {
    Vector3 low{0, 0, 0}, high{0, 0, 0};
};

struct DressedFigure {
    std::vector<FigurePart> parts;
    std::vector<std::string> missing;   // "Mesh b003fafit_01 is not installed", ...
    Bounds bounds;                      // of every posed vertex; framed by the camera
    std::size_t triangles() const;
};

DressedFigure dress(ModelLibrary& library, const DressRequest& request);

// The same figure wearing another texture on its body: the chooser's thumbnails dress a
// model once and show each texture of a page on it.
void wearBodyTexture(DressedFigure& figure, std::shared_ptr<const RgbaImage> texture);

}  // namespace drapeline::figure
