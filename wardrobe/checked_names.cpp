#include "wardrobe/checked_names.h"
#include "core/ascii.h"

namespace drapeline::wardrobe {

namespace {

// Bytes are Latin-1 wherever a name meets text: C0 and C1 controls and DEL are not
// printable there.
bool isControl(unsigned char c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

std::string lowered(std::string_view text) { return ascii::lower(text); }

}  // namespace

std::optional<std::string> nameProblem(std::string_view name) {
    if (name.size() > LongestName)
        return "has " + std::to_string(name.size()) + " characters, but a name has at most " +
               std::to_string(LongestName);
    for (const char c : name) {
        if (c == '\0') return std::string("holds a NUL byte");
        if (isControl(static_cast<unsigned char>(c))) return std::string("holds a control character");
        if (c == ',' || c == '=' || c == '/' || c == '\\')
            return "holds \"" + std::string(1, c) + "\", which no name may hold";
    }
    return std::nullopt;
}

std::optional<std::string> outfitGapProblem(const WardrobeFields& fields, OutfitKind kind) {
    const OutfitNames& o = fields.outfit(kind);
    const std::string outfit = "the " + std::string(outfitCaption(kind)) + " outfit";
    switch (kind) {
    case OutfitKind::Normal:
    case OutfitKind::Nude:
        if (o.mesh.empty() || o.texture.empty()) return outfit + " needs both a mesh and a texture";
        return std::nullopt;
    case OutfitKind::Formal:
        // Without a mesh the save writes the empty outfit and ignores the texture.
        if (!o.mesh.empty() && o.texture.empty()) return outfit + " has a mesh but no texture";
        return std::nullopt;
    default:
        if (o.mesh.empty() == o.texture.empty()) return std::nullopt;
        return outfit + (o.mesh.empty() ? " has a texture but no mesh" : " has a mesh but no texture");
    }
}

std::optional<std::string> handGapProblem(const WardrobeFields& fields, HandSlot slot) {
    if (slot == HandSlot::FormalLeft || slot == HandSlot::FormalRight) {
        if (const auto lone = loneFormalHand(fields))
            return std::string("the formal hands are kept only as a pair, but only the ") +
                   (*lone == HandSlot::FormalLeft ? "left" : "right") + " one would be named";
        return std::nullopt;
    }
    if (fields.hand(slot).empty()) return "the " + lowered(handCaption(slot)) + " hand needs a texture";
    return std::nullopt;
}

std::optional<HandSlot> loneFormalHand(const WardrobeFields& fields) {
    const bool left = !fields.hand(HandSlot::FormalLeft).empty();
    const bool right = !fields.hand(HandSlot::FormalRight).empty();
    if (left == right) return std::nullopt;
    return left ? HandSlot::FormalLeft : HandSlot::FormalRight;
}

}  // namespace drapeline::wardrobe
