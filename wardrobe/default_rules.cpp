#include "wardrobe/default_rules.h"

namespace drapeline::wardrobe {

namespace {

bool isAdult(const RuleInputs& in) { return in.age == "adult"; }
bool isFemale(const RuleInputs& in) { return in.gender == "female"; }

// "fa", "ma", "fc" or "mc": the sex and age letters of the "_original" names.
std::string sexAndAge(const RuleInputs& in) {
    return {isFemale(in) ? 'f' : 'm', isAdult(in) ? 'a' : 'c'};
}

// prefix + sex and age + B + "_original" and the texture with T after B.
OutfitNames originalNames(const char* prefix, const RuleInputs& in) {
    const std::string stem = prefix + sexAndAge(in) + in.bodyType;
    return {stem + "_original", stem + in.skinTone + "_original"};
}

// The short names of the older sets: stem + B + "_01" and stem + B + T + "_01".
OutfitNames numberedNames(const char* stem, const RuleInputs& in) {
    const std::string withBody = stem + in.bodyType;
    return {withBody + "_01", withBody + in.skinTone + "_01"};
}

// The "_original" defaults came with the newer outfit entries, which begin with the long
// formal entry: a set that has it gets them for formal, swimsuit and pajamas alike.
std::optional<OutfitNames> formal(const RuleInputs& in) {
    if (!isAdult(in)) return OutfitNames{};
    if (holds(in.entryCount, entry::FormalLong)) return originalNames("f100", in);
    return numberedNames(isFemale(in) ? "ff" : "fm", in);
}

OutfitNames nude(const RuleInputs& in) {
    if (!isAdult(in)) return {"nuchd_01", "nuchd" + in.skinTone + "_01"};
    return numberedNames(isFemale(in) ? "nf" : "nm", in);
}

OutfitNames swimsuit(const RuleInputs& in) {
    if (holds(in.entryCount, entry::FormalLong)) return originalNames("s100", in);
    // A set without the newer outfit entries has no swimsuit mesh of its own: the nude mesh in
    // underwear stands in.
    const std::string undies = isFemale(in) ? "uf" : "um";
    if (!isAdult(in)) return {"nuchd_01", undies + "chd" + in.skinTone + "_undies01"};
    return {nude(in).mesh, undies + in.bodyType + in.skinTone + "_undies01"};
}

}  // namespace

std::optional<OutfitNames> defaultOutfit(OutfitKind kind, const RuleInputs& in) {
    switch (kind) {
    case OutfitKind::Normal: return std::nullopt;
    case OutfitKind::Formal: return formal(in);
    case OutfitKind::Nude: return nude(in);
    case OutfitKind::Swimsuit: return swimsuit(in);
    case OutfitKind::Pajamas:
        if (holds(in.entryCount, entry::FormalLong)) return originalNames("l100", in);
        return std::nullopt;
    case OutfitKind::Winter:
        if (holds(in.entryCount, entry::Winter)) return originalNames("W100", in);
        return std::nullopt;
    }
    return std::nullopt;
}

std::string noDefaultReason(OutfitKind kind, const RuleInputs& in) {
    if (kind == OutfitKind::Normal || defaultOutfit(kind, in)) return {};
    if (kind == OutfitKind::Winter)
        return "No default: this sim's wardrobe has no winter entry yet (a townie before its "
               "first visit downtown after installing Vacation).";
    return "No default: this sim's wardrobe is too short to hold pajamas.";
}

HandPair defaultHands(HandPose pose, const RuleInputs& in) {
    const auto both = [](std::string texture) { return HandPair{texture, texture}; };
    switch (pose) {
    case HandPose::Closed: return both("huac" + in.skinTone);
    case HandPose::Open: return both("huao" + in.skinTone);
    case HandPose::Point: return both("huap" + in.skinTone);
    case HandPose::Formal: return both(isFemale(in) ? "gfao_bride" : "");
    }
    return {};
}

std::string defaultPrompt(OutfitKind kind) {
    switch (kind) {
    case OutfitKind::Formal: return "Restore formal to the default?";
    case OutfitKind::Nude: return "Restore nude to the default?";
    case OutfitKind::Pajamas: return "Restore pajamas to the default?";
    case OutfitKind::Swimsuit: return "Restore swimsuit to the default?";
    case OutfitKind::Winter: return "Restore winter clothes to the default?";
    case OutfitKind::Normal: break;
    }
    return {};
}

std::string defaultPrompt(HandPose pose) {
    switch (pose) {
    case HandPose::Closed: return "Restore closed hands to the default?";
    case HandPose::Formal: return "Restore formal hands to the default?";
    case HandPose::Open: return "Restore open hands to the default?";
    case HandPose::Point: return "Restore point hands to the default?";
    }
    return {};
}

std::vector<const char*> defaultPreviewFolders(OutfitKind kind) {
    switch (kind) {
    case OutfitKind::Formal:
    case OutfitKind::Swimsuit:
    case OutfitKind::Pajamas: return {SkinFolders.begin(), SkinFolders.end()};
    case OutfitKind::Winter: return {SkinFolders[0], SkinFolders[2]};
    case OutfitKind::Normal:
    case OutfitKind::Nude: break;
    }
    return {SkinFolders[0]};
}

HandPose poseOf(HandSlot slot) {
    for (HandPose pose : {HandPose::Formal, HandPose::Open, HandPose::Point, HandPose::Closed})
        if (leftSlot(pose) == slot || rightSlot(pose) == slot) return pose;
    return HandPose::Open;
}

HandSlot leftSlot(HandPose pose) {
    switch (pose) {
    case HandPose::Formal: return HandSlot::FormalLeft;
    case HandPose::Open: return HandSlot::OpenLeft;
    case HandPose::Point: return HandSlot::PointLeft;
    case HandPose::Closed: return HandSlot::ClosedLeft;
    }
    return HandSlot::FormalLeft;
}

HandSlot rightSlot(HandPose pose) {
    switch (pose) {
    case HandPose::Formal: return HandSlot::FormalRight;
    case HandPose::Open: return HandSlot::OpenRight;
    case HandPose::Point: return HandSlot::PointRight;
    case HandPose::Closed: return HandSlot::ClosedRight;
    }
    return HandSlot::FormalRight;
}

}  // namespace drapeline::wardrobe
