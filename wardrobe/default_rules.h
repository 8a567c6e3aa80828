#pragma once
// The game's default outfits and hands for a sim of a given age, gender, body type and
// skin tone: what each "Default" button of the edit window writes, and what the
// neighbourhood repairs put back. Plain functions of texts.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wardrobe/wardrobe_record.h"

namespace drapeline::wardrobe {

enum class HandPose { Formal, Open, Point, Closed };

struct RuleInputs {
    std::string age;          // txtAge: only exactly "adult" is an adult
    std::string gender;       // txtGender: only exactly "female" is female
    std::string bodyType;     // B: characters 7 to 9 of the normal mesh as typed (may be short)
    std::string skinTone;     // T: entry 15 as read from the file
    std::size_t entryCount = 0;   // N
};

// The mesh and texture a Default button writes, or nothing where the button leaves both
// fields as they are (pajamas without entry 33, winter without entry 34, and the normal outfit,
// which has no Default button). A child's formal default is two empty texts.
std::optional<OutfitNames> defaultOutfit(OutfitKind kind, const RuleInputs& in);

// Why an outfit's Default button has nothing to restore for this sim (its tooltip while
// it is disabled), or "" when it has a default.
std::string noDefaultReason(OutfitKind kind, const RuleInputs& in);

struct HandPair {
    std::string left;
    std::string right;
    bool operator==(const HandPair&) const = default;
};
HandPair defaultHands(HandPose pose, const RuleInputs& in);

// The question's first line, e.g. "Restore formal to the default?".
std::string defaultPrompt(OutfitKind kind);
std::string defaultPrompt(HandPose pose);

// The skin folders a Default button's preview refresh tries, in order (winter skips the
// first expansion folder; nude and the hands look in the base folder only).
std::vector<const char*> defaultPreviewFolders(OutfitKind kind);

// The two hand slots of a pose, left first.
HandSlot leftSlot(HandPose pose);
HandSlot rightSlot(HandPose pose);
// The pose a hand slot belongs to.
HandPose poseOf(HandSlot slot);

}  // namespace drapeline::wardrobe
