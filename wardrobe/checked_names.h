#pragma once
// What may be stored as an outfit or hand name. A name ends up inside a body-strings
// entry ("mesh,BODY=texture") and in a bitmap's file name, so a separator or a path in
// it would be misread by the game or lead outside the skin folders. Values typed on the
// command line and lines of ensemble files pass these checks before they reach the
// fields; the chooser offers only installed skins.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "wardrobe/wardrobe_fields.h"

namespace drapeline::wardrobe {

inline constexpr std::size_t LongestName = 63;

// Why `name` can not be stored, as the rest of a sentence whose subject the caller gives
// ("has 70 characters, but a name has at most 63", "holds \"/\", which no name may
// hold"); nothing when it can. The empty text passes: where a name may be missing is
// the business of the two checks below.
std::optional<std::string> nameProblem(std::string_view name);

// Why the outfit can not be saved with a name missing ("the Normal outfit needs both a
// mesh and a texture"). Only entries that the save can write empty may be: the formal
// outfit without a mesh (its texture is then ignored), and the swimsuit, pajamas and
// winter outfits with both names empty. Nothing when it can.
std::optional<std::string> outfitGapProblem(const WardrobeFields& fields, OutfitKind kind);

// The same for a hand: every hand but the formal ones needs a texture, and the formal
// hands are kept only as a pair, both named or both empty.
std::optional<std::string> handGapProblem(const WardrobeFields& fields, HandSlot slot);

// The formal hand that holds a name while the other is empty. Saved so, both formal
// hands become empty.
std::optional<HandSlot> loneFormalHand(const WardrobeFields& fields);

}  // namespace drapeline::wardrobe
