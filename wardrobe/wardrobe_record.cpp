#include "wardrobe/wardrobe_record.h"

#include "core/errors.h"
#include "core/ascii.h"

namespace drapeline::wardrobe {

namespace {

bool isLeft(HandSlot slot) {
    switch (slot) {
    case HandSlot::FormalLeft:
    case HandSlot::OpenLeft:
    case HandSlot::PointLeft:
    case HandSlot::ClosedLeft: return true;
    default: return false;
    }
}

// The formal hands are keyed with the open pose: the game has no formal pose of its own.
char poseLetter(HandSlot slot) {
    switch (slot) {
    case HandSlot::PointLeft:
    case HandSlot::PointRight: return 'P';
    case HandSlot::ClosedLeft:
    case HandSlot::ClosedRight: return 'C';
    default: return 'O';
    }
}

}  // namespace

std::size_t handEntryNumber(HandSlot slot) {
    switch (slot) {
    case HandSlot::FormalLeft: return entry::FormalHandLeft;
    case HandSlot::FormalRight: return entry::FormalHandRight;
    case HandSlot::OpenLeft: return entry::OpenLeft;
    case HandSlot::OpenRight: return entry::OpenRight;
    case HandSlot::PointLeft: return entry::PointLeft;
    case HandSlot::PointRight: return entry::PointRight;
    case HandSlot::ClosedLeft: return entry::ClosedLeft;
    case HandSlot::ClosedRight: return entry::ClosedRight;
    }
    return 0;
}

WardrobeLayout layoutFor(std::size_t entryCount, std::string_view age) {
    if (holds(entryCount, entry::Winter)) return WardrobeLayout::Long;
    if (holds(entryCount, entry::FormalLong) && age == "adult") return WardrobeLayout::AdultMiddle;
    return WardrobeLayout::Short;
}

bool layoutHolds(WardrobeLayout layout, OutfitKind kind) {
    if (kind == OutfitKind::Winter) return layout == WardrobeLayout::Long;
    if (kind == OutfitKind::Pajamas) return layout != WardrobeLayout::Short;
    return true;
}

bool isPlaceholder(std::string_view text) {
    return text == PajamasPlaceholder || text == WinterPlaceholder;
}

const char* outfitCaption(OutfitKind kind) {
    switch (kind) {
    case OutfitKind::Normal: return "Normal";
    case OutfitKind::Swimsuit: return "Swimsuit";
    case OutfitKind::Formal: return "Formal";
    case OutfitKind::Pajamas: return "Pajamas";
    case OutfitKind::Nude: return "Nude";
    case OutfitKind::Winter: return "Winter";
    }
    return "";
}

const char* handCaption(HandSlot slot) {
    switch (slot) {
    case HandSlot::FormalLeft: return "Formal left";
    case HandSlot::FormalRight: return "Formal right";
    case HandSlot::OpenLeft: return "Open left";
    case HandSlot::OpenRight: return "Open right";
    case HandSlot::PointLeft: return "Point left";
    case HandSlot::PointRight: return "Point right";
    case HandSlot::ClosedLeft: return "Closed left";
    case HandSlot::ClosedRight: return "Closed right";
    }
    return "";
}

OutfitNames splitOutfitEntry(std::string_view entry) {
    const auto comma = entry.find(',');
    if (comma == std::string_view::npos) throw RuntimeError(err::InvalidCall);
    return {std::string(entry.substr(0, comma)), textAfterFirstEquals(entry)};
}

std::string textAfterFirstEquals(std::string_view entry) {
    const auto equals = entry.find('=');
    return std::string(equals == std::string_view::npos ? entry : entry.substr(equals + 1));
}

char genderLetter(std::string_view gender) { return gender == "female" ? 'f' : 'm'; }

char ageLetter(std::string_view age) { return age == "adult" ? 'a' : 'c'; }

std::string skinToneWord(std::string_view code) {
    if (code == "lgt") return "light";
    if (code == "med") return "medium";
    if (code == "drk") return "dark";
    return {};
}

std::string bodyTypeText(std::string_view mesh) {
    if (mesh.size() <= 6) return {};
    return std::string(mesh.substr(6, 3));
}

BodyType bodyTypeOf(std::string_view normalMesh) {
    std::string code = bodyTypeText(normalMesh);
    code = ascii::upper(code);
    if (code == "FIT") return BodyType::Fit;
    if (code == "FAT") return BodyType::Fat;
    if (code == "SKN") return BodyType::Skinny;
    return BodyType::None;
}

std::string bodyTypeCode(BodyType type) {
    switch (type) {
    case BodyType::Fit: return "fit";
    case BodyType::Fat: return "fat";
    default: return "skn";
    }
}

std::string outfitEntry(std::string_view mesh, std::string_view texture) {
    std::string out;
    out.reserve(mesh.size() + 6 + texture.size());
    out.append(mesh).append(",BODY=").append(texture);
    return out;
}

char handGenderLetter(std::string_view age, std::string_view gender) {
    if (age != "adult") return 'u';
    return genderLetter(gender);
}

std::string handEntry(char g, HandSlot slot, std::string_view texture) {
    std::string out{'H', g, isLeft(slot) ? 'L' : 'R', poseLetter(slot)};
    out.append(",HAND=").append(texture);
    return out;
}

std::string displayName(std::string_view catalogueName, std::string_view objectLabel) {
    std::string out(catalogueName);
    out.append("  (").append(objectLabel).append(")");
    return out;
}

std::size_t previewFolderCountAtOpening(OutfitKind kind) {
    return (kind == OutfitKind::Normal || kind == OutfitKind::Nude) ? BaseSkinFolderOnly
                                                                    : SkinFolders.size();
}

}  // namespace drapeline::wardrobe
