#include "wardrobe/edit_sim_model.h"

#include "core/binary_support.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "wardrobe/checked_names.h"
#include "wardrobe/previews.h"
#include "wardrobe/sim_file.h"

namespace drapeline::wardrobe {

namespace {

constexpr char Module[] = "frmEditSim";

// The backup a save was asked to make could not be written; the save stops.
struct BackupNotWritten {
    std::string why;
};

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
    fields_ = {};
    read_ = {};
    webImage_ = faces_ = relImages_ = {};
    outfitPreviews_ = {};
    handPreviews_ = {};
    problem_.clear();
    lastBackup_.clear();
    removeSimImages(services_.programFolder);
}

bool EditSimModel::open(const std::string& path) {
    reset(path);
    // Refused as a wardrobe that can not be shown, before the read that would trap on it.
    if (iff::tooLargeForCharacterFile(path)) return refuse(std::string("it is ") + TooLargeReason);
    ByteText bytes;
    iff::readIff(iff_, editedPath_, bytes);
    readIdentity_ = identityOf(bytes);
    return show();
}

bool EditSimModel::openRead(const std::string& path, IffFile alreadyRead, FileIdentity identity) {
    reset(path);
    iff_ = std::move(alreadyRead);
    readIdentity_ = identity;
    return show();
}

bool EditSimModel::show() {
    if (auto why = wardrobeProblem(iff_)) return refuse(std::move(*why));
    iff::readStringSet(iff_, bodyStrings_, WardrobeIdField, false);
    fields_ = guarded(Module, "msDisplayUserData", Stages::Marked,
                     [&] { return readFields(iff_, bodyStrings_); });
    read_ = fields_;
    loadPictures();
    changed_.notify();
    return true;
}

void EditSimModel::changeFields(const std::function<void(WardrobeFields&)>& edit) {
    edit(fields_);
    changed_.notify();
}

void EditSimModel::setBodyType(BodyType type) {
    fields_.bodyType = type;
    changed_.notify();
}

void EditSimModel::loadFields(WardrobeFields loaded) {
    fields_ = std::move(loaded);
    refreshPreviews();
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
    webImage_ = std::move(images.webImage);
    faces_ = std::move(images.faces);
    relImages_ = std::move(images.relImages);

    for (const OutfitKind kind : PreviewOrder)
        outfitPreviews_[static_cast<std::size_t>(kind)] =
            findPreview(loader, skinBitmaps_, fields_.outfit(kind).texture,
                        std::span(SkinFolders.data(), previewFolderCountAtOpening(kind)),
                        platform::StockPicture::NotFound);
    for (const HandSlot slot : AllHandSlots)
        handPreviews_[static_cast<std::size_t>(slot)] =
            findPreview(loader, skinBitmaps_, fields_.hand(slot),
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
        lookUp(outfitPreviews_[static_cast<std::size_t>(kind)], fields_.outfit(kind).texture,
               SkinFolders.size(), StockPicture::NotFound);
    for (const HandSlot slot : HandOrder)
        lookUp(handPreviews_[static_cast<std::size_t>(slot)], fields_.hand(slot), HandFolderCount,
               StockPicture::HandNotFound);
    changed_.notify();
}

std::string EditSimModel::makeBackup() {
    // A backup that can not be written (a read-only or full program folder) stops the save
    // with a message; only the unexpected still reaches the error trap.
    std::optional<std::string> failed;
    std::string made = guarded(Module, "msMakeUserBackup", Stages::Marked, [&] {
        try {
            return makeUserBackup(services_.programFolder, editedPath_, fields_.name, services_.clock.now());
        } catch (const RuntimeError& e) {
            failed = e.textWithReason();
            return std::string();
        }
    });
    if (failed) throw BackupNotWritten{*failed};
    return made;
}

EditSimModel::SaveOutcome EditSimModel::save(bool backup) {
    return guarded(Module, "cmdSave_Click", Stages::Marked, [&] {
        markStage(1000);
        if (fields_.name.empty()) return SaveOutcome::NotSaved;
        std::string notice;
        for (const std::string& line : {notStoredLine(unstorableChanges()), notStoredLine(droppedFormalHand())})
            if (!line.empty()) notice += "\r\n" + line;
        const std::string running =
            services_.gameIsRunning() ? "\r\n" + std::string(platform::GameRunningNotice) : std::string();
        if (!services_.dialogs.confirm("Make changes to " + fields_.name + "?" + notice + running +
                                       "\r\nAre You Sure?"))
            return SaveOutcome::NotSaved;
        writeFields(bodyStrings_, fields_);

        markStage(3000);
        iff::writeStringSet(iff_, bodyStrings_, bytes::hexToBytes("00 C8 00 10"), false);
        const SaveOutcome outcome = writeFile(backup);
        if (outcome == SaveOutcome::Saved)
            services_.dialogs.inform(fields_.name + " has been saved." + notice, "Success");
        return outcome;
    });
}

EditSimModel::SaveOutcome EditSimModel::writeFile(bool backup) {
    std::optional<FileIdentity> expected = readIdentity_;
    bool backUpChanged = false;
    for (;;) {
        lastBackup_.clear();
        try {
            readIdentity_ = replaceCharacterFile(
                iff_, editedPath_, services_.programFolder,
                [&] {
                    if (backup || backUpChanged) lastBackup_ = makeBackup();
                    markStage(4000);
                },
                expected);
            return SaveOutcome::Saved;
        } catch (const CharacterFileChanged& changed) {
            switch (services_.dialogs.askChangedFile(
                fields_.name + "'s file was changed by another program, perhaps the game, since you opened it.")) {
            case platform::MessageReply::Overwrite:
                // What the other program wrote is kept in a backup before it is replaced.
                expected = changed.now();
                backUpChanged = true;
                continue;
            case platform::MessageReply::Reload:
                if (!services_.dialogs.confirmLoss("Discard your changes to " + fields_.name + "?"))
                    return SaveOutcome::NotSaved;
                open(editedPath_);
                return SaveOutcome::Reloaded;
            default: return SaveOutcome::ChangedOnDisk;
            }
        } catch (const BackupNotWritten& failed) {
            services_.dialogs.warn(fields_.name + " has not been saved: its backup could not be written in " +
                                       platform::joinPath(services_.programFolder, "Backup") + " (" +
                                       failed.why + "). Nothing has been changed.",
                                   "Edit Wardrobe");
            return SaveOutcome::NotSaved;
        } catch (const platform::FileBusy& busy) {
            services_.dialogs.warn(fields_.name + " has not been saved: " + busy.path() +
                                       " is in use by another program. Nothing has been changed; "
                                       "try again when that program has finished with it.",
                                   "Edit Wardrobe");
            return SaveOutcome::Busy;
        }
    }
}

WardrobeLayout EditSimModel::layout() const {
    const auto& e = bodyStrings_.entries;
    return layoutFor(e.size(), e.empty() ? std::string_view() : std::string_view(e[entry::Age - 1].text));
}

bool EditSimModel::hasUnsavedChanges() const {
    WardrobeFields now = fields_;
    now.bodyType = read_.bodyType;
    return now != read_;
}

std::vector<OutfitKind> EditSimModel::unstorableChanges() const {
    std::vector<OutfitKind> kinds;
    for (const OutfitKind kind : AllOutfits)
        if (!layoutHolds(layout(), kind) && fields_.outfit(kind) != read_.outfit(kind))
            kinds.push_back(kind);
    return kinds;
}

std::optional<HandSlot> EditSimModel::droppedFormalHand() const { return loneFormalHand(fields_); }

std::vector<std::string> EditSimModel::notStored() const {
    std::vector<std::string> names;
    for (const OutfitKind kind : unstorableChanges()) names.emplace_back(outfitCaption(kind));
    if (const auto hand = droppedFormalHand()) names.emplace_back(handCaption(*hand));
    return names;
}

bool EditSimModel::confirmDiscard() {
    if (!hasUnsavedChanges()) return true;
    return services_.dialogs.confirmLoss("Discard your changes to " + fields_.name + "?");
}

std::string notStoredLine(const std::vector<OutfitKind>& kinds) {
    if (kinds.empty()) return {};
    std::string line = "Not stored (this sim's file has no entry for them): ";
    for (std::size_t i = 0; i < kinds.size(); ++i)
        line += (i ? ", " : "") + std::string(outfitCaption(kinds[i]));
    return line;
}

std::string notStoredLine(std::optional<HandSlot> loneFormalHand) {
    if (!loneFormalHand) return {};
    return std::string("Not stored (the formal hands are kept only as a pair): ") +
           handCaption(*loneFormalHand);
}

}  // namespace drapeline::wardrobe
