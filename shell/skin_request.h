#pragma once
// What the edit window asks the skin chooser for and what the chooser hands back. Both
// windows' logic uses these, so they live below both.

#include <optional>
#include <string>

namespace drapeline::shell {

// Textures for one outfit, by the chooser's filter code (gender, age, skin tone, body
// type and outfit letter, e.g. "falgtfitF"), or the hand textures.
struct SkinRequest {
    std::string filterCode;   // empty for hands
    bool hands = false;
    // What the sim wears now, so that the chooser opens on it ("" for nothing).
    std::string currentModel;     // outfits only
    std::string currentTexture;
};

// The chosen skin: "mesh,texture" for an outfit, the texture alone for a hand; for an
// outfit also the bitmap shown as its preview ("" when none was shown).
struct SkinChoice {
    std::string skin;
    std::optional<std::string> previewFile;
};

}  // namespace drapeline::shell
