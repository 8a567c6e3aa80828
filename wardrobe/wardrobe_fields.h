#pragma once
// The edit window's editable values: a mesh and a texture per outfit, a texture per hand
// slot, the identity texts and the body-type choice. Every change writes these; saving
// reads them back.

#include <array>
#include <string>

#include "wardrobe/wardrobe_record.h"

namespace drapeline::wardrobe {

struct WardrobeFields {
    std::array<OutfitNames, 6> outfits;   // by OutfitKind
    std::array<std::string, 8> hands;     // by HandSlot
    std::string name;                     // txtName
    std::string age;                      // txtAge
    std::string gender;                   // txtGender
    std::string skinTone;                 // txtSkinTone (the word)
    BodyType bodyType = BodyType::None;   // optFit / optFat / optSkinny

    OutfitNames& outfit(OutfitKind k) { return outfits[static_cast<std::size_t>(k)]; }
    const OutfitNames& outfit(OutfitKind k) const { return outfits[static_cast<std::size_t>(k)]; }
    std::string& hand(HandSlot s) { return hands[static_cast<std::size_t>(s)]; }
    const std::string& hand(HandSlot s) const { return hands[static_cast<std::size_t>(s)]; }

    bool operator==(const WardrobeFields&) const = default;
};

}  // namespace drapeline::wardrobe
