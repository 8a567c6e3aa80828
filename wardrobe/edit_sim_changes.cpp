// The edit window's Change, Default, Copy Left and Normal buttons, as EditSimModel members.

#include <span>

#include "core/errors.h"
#include "wardrobe/edit_sim_model.h"
#include "wardrobe/previews.h"

namespace drapeline::wardrobe {

namespace {

constexpr char AreYouSure[] = "\r\nAre You Sure?";

constexpr char NormalFormalHandsQuestion[] =
    "Formal hands are the same as normal\r\n"
    "hands if the formal hands' string is\r\n"
    "left blank. This is the default for \r\n"
    "male sims.\r\n"
    "\r\n"
    "Change formal hands to normal?\r\n"
    "Are You Sure?";

std::span<const char* const> baseFolderOnly() {
    return {SkinFolders.data(), BaseSkinFolderOnly};
}

}  // namespace

const char* changeProcedureName(OutfitKind kind) {
    switch (kind) {
    case OutfitKind::Normal: return "cmdChangeNormal_Click";
    case OutfitKind::Swimsuit: return "cmdChangeSwimsuit_Click";
    case OutfitKind::Formal: return "cmdChangeFormal_Click";
    case OutfitKind::Pajamas: return "cmdChangePajamas_Click";
    case OutfitKind::Nude: return "cmdChangeNude_Click";
    case OutfitKind::Winter: return "cmdChangeWinter_Click";
    }
    return "";
}

const char* changeProcedureName(HandSlot slot) {
    switch (slot) {
    case HandSlot::FormalLeft: return "cmdLeftFormalHand_Click";
    case HandSlot::FormalRight: return "cmdRightFormalHand_Click";
    case HandSlot::OpenLeft: return "cmdLeftOpenHand_Click";
    case HandSlot::OpenRight: return "cmdRightOpenHand_Click";
    case HandSlot::PointLeft: return "cmdLeftPointHand_Click";
    case HandSlot::PointRight: return "cmdRightPointHand_Click";
    case HandSlot::ClosedLeft: return "cmdleftClosedHand_Click";
    case HandSlot::ClosedRight: return "cmdRightClosedHand_Click";
    }
    return "";
}

char chooserLetter(OutfitKind kind) {
    switch (kind) {
    case OutfitKind::Normal: return 'B';
    case OutfitKind::Swimsuit: return 'S';
    case OutfitKind::Formal: return 'F';
    case OutfitKind::Pajamas: return 'L';
    case OutfitKind::Nude: return 'N';
    case OutfitKind::Winter: return 'W';
    }
    return 'B';
}

RuleInputs EditSimModel::ruleInputs() const {
    const auto& entries = bodyStrings_.entries;
    RuleInputs in;
    in.age = fields_.age;
    in.gender = fields_.gender;
    in.bodyType = bodyTypeText(fields_.outfit(OutfitKind::Normal).mesh);
    // A set this short is refused at opening; should one get here, it simply has no tone.
    if (entries.size() >= entry::SkinTone) in.skinTone = entries[entry::SkinTone - 1].text;
    in.entryCount = entries.size();
    return in;
}

bool EditSimModel::applyDefaultOutfit(OutfitKind kind) {
    if (kind == OutfitKind::Normal) return false;
    if (!services_.dialogs.confirm(defaultPrompt(kind) + AreYouSure)) return false;
    if (auto names = defaultOutfit(kind, ruleInputs())) fields_.outfit(kind) = std::move(*names);
    const auto folders = defaultPreviewFolders(kind);
    outfitPreviews_[static_cast<std::size_t>(kind)] =
        findPreview(services_.pictures, skinBitmaps_, fields_.outfit(kind).texture, folders,
                    platform::StockPicture::NotFound);
    changed_.notify();
    return true;
}

bool EditSimModel::applyDefaultHands(HandPose pose) {
    if (!services_.dialogs.confirm(defaultPrompt(pose) + AreYouSure)) return false;
    HandPair names = defaultHands(pose, ruleInputs());
    fields_.hand(leftSlot(pose)) = std::move(names.left);
    fields_.hand(rightSlot(pose)) = std::move(names.right);
    auto& left = handPreviews_[static_cast<std::size_t>(leftSlot(pose))];
    left = findPreview(services_.pictures, skinBitmaps_, fields_.hand(leftSlot(pose)),
                       baseFolderOnly(), platform::StockPicture::HandNotFound);
    handPreviews_[static_cast<std::size_t>(rightSlot(pose))] = left;
    changed_.notify();
    return true;
}

shell::SkinRequest EditSimModel::outfitRequest(OutfitKind kind) const {
    markStage(1000);
    std::string code{genderLetter(fields_.gender), ageLetter(fields_.age)};
    markStage(2000);
    if (bodyStrings_.entries.size() < entry::SkinTone) throw RuntimeError(err::SubscriptOutOfRange);
    code += bodyStrings_.entries[entry::SkinTone - 1].text;
    code += bodyTypeCode(fields_.bodyType);
    code += chooserLetter(kind);
    return {code, false, fields_.outfit(kind).mesh, fields_.outfit(kind).texture};
}

void EditSimModel::applyOutfitChoice(OutfitKind kind, const shell::SkinChoice& choice) {
    const std::string& skin = choice.skin;
    if (skin.empty()) return;
    markStage(3000);
    const auto comma = skin.find(',');
    if (comma == std::string::npos) throw RuntimeError(err::InvalidCall);
    fields_.outfit(kind) = {skin.substr(0, comma), skin.substr(comma + 1)};

    markStage(4000);
    auto& preview = outfitPreviews_[static_cast<std::size_t>(kind)];
    const std::string file = choice.previewFile.value_or(std::string());
    if (file.empty()) {
        preview = platform::ShownPicture::stockPicture(platform::StockPicture::None);
    } else if (auto picture = services_.pictures.load(file)) {
        preview = platform::ShownPicture::loaded(std::move(picture), file);
    } else {
        // The chooser listed the file, so it went away or was damaged in between; that is
        // no reason to end the program and lose the user's edits.
        preview = platform::ShownPicture::stockPicture(platform::StockPicture::NotFound);
    }
    changed_.notify();
}

void EditSimModel::applyHandChoice(HandSlot slot, const shell::SkinChoice& choice) {
    if (choice.skin.empty()) return;
    fields_.hand(slot) = choice.skin;
    handPreviews_[static_cast<std::size_t>(slot)] =
        findPreview(services_.pictures, skinBitmaps_, fields_.hand(slot), baseFolderOnly(),
                    platform::StockPicture::HandNotFound);
    changed_.notify();
}

void EditSimModel::copyLeft(HandPose pose) {
    fields_.hand(rightSlot(pose)) = fields_.hand(leftSlot(pose));
    handPreviews_[static_cast<std::size_t>(rightSlot(pose))] =
        handPreviews_[static_cast<std::size_t>(leftSlot(pose))];
    changed_.notify();
}

bool EditSimModel::normalFormalHands() {
    if (!services_.dialogs.confirm(NormalFormalHandsQuestion)) return false;
    fields_.hand(HandSlot::FormalLeft).clear();
    fields_.hand(HandSlot::FormalRight).clear();
    auto& left = handPreviews_[static_cast<std::size_t>(HandSlot::FormalLeft)];
    left = platform::ShownPicture::stockPicture(platform::StockPicture::HandNotFound);
    handPreviews_[static_cast<std::size_t>(HandSlot::FormalRight)] = left;
    changed_.notify();
    return true;
}

}  // namespace drapeline::wardrobe
