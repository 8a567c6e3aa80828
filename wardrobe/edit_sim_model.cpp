#include "wardrobe/edit_sim_model.h"

#include "core/binary_support.h"
#include "platform/files.h"
#include "wardrobe/previews.h"
#include "wardrobe/sim_file.h"

namespace drapeline::wardrobe {

namespace {

constexpr char Module[] = "frmEditSim";

// The order in which the previews are looked up when the window opens.
constexpr std::array<OutfitKind, 6> PreviewOrder{OutfitKind::Normal,  OutfitKind::Swimsuit,
                                                 OutfitKind::Formal,  OutfitKind::Pajamas,
                                                 OutfitKind::Winter,  OutfitKind::Nude};

}  // namespace

EditSimModel::EditSimModel(platform::Services& services, const shell::GameSession& session)
    : services_(services), session_(session), skinBitmaps_(session.gameFolder()) {}

void EditSimModel::reset(const std::string& path) {
    editedPath_ = path;
    skinBitmaps_ = SkinBitmaps(session_.gameFolder());
    iff::clearIff(iff_);
    bodyStrings_ = {};
    fields = {};
    read_ = {};
    webImage = faces = relImages = {};
    outfitPreviews = {};
    handPreviews = {};
    problem_.clear();
    lastBackup_.clear();
    removeSimImages(services_.programFolder);
}

bool EditSimModel::open(const std::string& path) {
    reset(path);
    // Refused as a wardrobe that can not be shown, before the read that would trap on it.
    if (iff::tooLargeForCharacterFile(path)) return refuse(std::string("it is ") + TooLargeReason);
    iff::readIff(iff_, editedPath_);
    return show();
}

bool EditSimModel::openRead(const std::string& path, IffFile alreadyRead) {
    reset(path);
    iff_ = std::move(alreadyRead);
    return show();
}

bool EditSimModel::show() {
    if (auto why = wardrobeProblem(iff_)) return refuse(std::move(*why));
    iff::readStringSet(iff_, bodyStrings_, WardrobeIdField, false);
    fields = guarded(Module, "msDisplayUserData", Stages::Marked,
                     [&] { return readFields(iff_, bodyStrings_); });
    read_ = fields;
    loadPictures();
    return true;
}

bool EditSimModel::refuse(std::string problem) {
    problem_ = std::move(problem);
    services_.dialogs.warn(unshowableMessage(platform::fileNameOf(editedPath_), problem_), "Edit Wardrobe");
    return false;
}

void EditSimModel::loadPictures() {
    markStage(3000);
    const auto& loader = services_.pictures;
    using platform::StockPicture;
    SimImages images = exportAndShowSimImages(
        loader, iff_, editedPath_, services_.programFolder,
        {StockPicture::WebNotFound, StockPicture::WebNotFound, StockPicture::NoBitmaps});
    webImage = std::move(images.webImage);
    faces = std::move(images.faces);
    relImages = std::move(images.relImages);

    for (const OutfitKind kind : PreviewOrder)
        outfitPreviews[static_cast<std::size_t>(kind)] =
            findPreview(loader, skinBitmaps_, fields.outfit(kind).texture,
                        std::span(SkinFolders.data(), previewFolderCountAtOpening(kind)),
                        platform::StockPicture::NotFound);
    for (const HandSlot slot : AllHandSlots)
        handPreviews[static_cast<std::size_t>(slot)] =
            findPreview(loader, skinBitmaps_, fields.hand(slot),
                        std::span(SkinFolders.data(), BaseSkinFolderOnly),
                        platform::StockPicture::HandNotFound);
}

void EditSimModel::refreshPreviews() {
    using platform::ShownPicture;
    using platform::StockPicture;
    static constexpr std::array<HandSlot, 8> HandOrder{
        HandSlot::FormalLeft, HandSlot::FormalRight, HandSlot::ClosedLeft, HandSlot::ClosedRight,
        HandSlot::OpenLeft,   HandSlot::OpenRight,   HandSlot::PointLeft,  HandSlot::PointRight};
    // Hands come only from the base folder and the third expansion's folder.
    static constexpr std::size_t HandFolderCount = 2;

    const auto lookUp = [&](ShownPicture& shown, const std::string& texture,
                            std::size_t folderCount, StockPicture stock) {
        shown = ShownPicture::stockPicture(stock);
        try {
            shown = findPreview(services_.pictures, skinBitmaps_, texture,
                                std::span(SkinFolders.data(), folderCount), stock);
        } catch (const std::exception&) {
            // A picture that can not be looked up is a missing picture, nothing more.
        }
    };
    for (const OutfitKind kind : PreviewOrder)
        lookUp(outfitPreviews[static_cast<std::size_t>(kind)], fields.outfit(kind).texture,
               SkinFolders.size(), StockPicture::NotFound);
    for (const HandSlot slot : HandOrder)
        lookUp(handPreviews[static_cast<std::size_t>(slot)], fields.hand(slot), HandFolderCount,
               StockPicture::HandNotFound);
}

std::string EditSimModel::makeBackup() {
    return guarded(Module, "msMakeUserBackup", Stages::Marked, [&] {
        return makeUserBackup(services_.programFolder, editedPath_, fields.name,
                              services_.clock.now());
    });
}

bool EditSimModel::save(bool backup) {
    return guarded(Module, "cmdSave_Click", Stages::Marked, [&] {
        markStage(1000);
        if (fields.name.empty()) return false;
        const std::string notStored = notStoredLine(unstorableChanges());
        const std::string notice = notStored.empty() ? std::string() : "\r\n" + notStored;
        if (!services_.dialogs.confirm("Make changes to " + fields.name + "?" + notice +
                                       "\r\nAre You Sure?"))
            return false;
        writeFields(bodyStrings_, fields);

        markStage(3000);
        iff::writeStringSet(iff_, bodyStrings_,
                                         bytes::hexToBytes("00 C8 00 10"), false);
        lastBackup_.clear();
        replaceCharacterFile(iff_, editedPath_, services_.programFolder, [&] {
            if (backup) lastBackup_ = makeBackup();
            markStage(4000);
        });
        services_.dialogs.inform(fields.name + " has been saved." + notice, "Success");
        return true;
    });
}

WardrobeLayout EditSimModel::layout() const {
    const auto& e = bodyStrings_.Entries;
    return layoutFor(e.size(), e.empty() ? std::string_view() : std::string_view(e[entry::Age - 1].Text));
}

bool EditSimModel::hasUnsavedChanges() const {
    WardrobeFields now = fields;
    now.bodyType = read_.bodyType;
    return now != read_;
}

std::vector<OutfitKind> EditSimModel::unstorableChanges() const {
    std::vector<OutfitKind> kinds;
    for (const OutfitKind kind : AllOutfits)
        if (!layoutHolds(layout(), kind) && fields.outfit(kind) != read_.outfit(kind))
            kinds.push_back(kind);
    return kinds;
}

bool EditSimModel::confirmDiscard() {
    if (!hasUnsavedChanges()) return true;
    return services_.dialogs.confirmLoss("Discard your changes to " + fields.name + "?");
}

std::string notStoredLine(const std::vector<OutfitKind>& kinds) {
    if (kinds.empty()) return {};
    std::string line = "Not stored (this sim's file has no entry for them): ";
    for (std::size_t i = 0; i < kinds.size(); ++i)
        line += (i ? ", " : "") + std::string(outfitCaption(kinds[i]));
    return line;
}

}  // namespace drapeline::wardrobe
