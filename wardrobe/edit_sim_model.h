#pragma once
// The edit window's state and its opening, Cancel and Save, without widgets. The window
// shows `fields` and the pictures and forwards its clicks; the command-line tool drives
// the same object.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/pictures.h"
#include "platform/services.h"
#include "shell/change_signal.h"
#include "shell/game_session.h"
#include "shell/skin_request.h"
#include "wardrobe/default_rules.h"
#include "wardrobe/previews.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::wardrobe {

class EditSimModel {
public:
    EditSimModel(platform::Services& services, const shell::GameSession& session);

    // The opening sequence for the character file at `path`: reset, delete the previous
    // sim's exported pictures, read the file (a failure raises the error trap), decode the
    // body strings, show the record, export the bitmaps and show every picture. A file too
    // large to be a character file, or a wardrobe that can not be shown (see
    // wardrobeProblem), is refused with an exclamation box instead: false, problem() says
    // why, and the window closes.
    bool open(const std::string& path);
    // The same opening for a file the caller has already read with the checked reader
    // (the main window, the command-line tool), so that it is read only once.
    bool openRead(const std::string& path, IffFile alreadyRead, FileIdentity identity);
    // Why the last opening was refused ("" when it was not).
    const std::string& problem() const { return problem_; }

    // Save: asks "Make changes to ...?", writes the fields into the body strings and the
    // file through replaceCharacterFile, with a backup when `backup` is true, and reports
    // " has been saved.". Changes to outfits the sim's file has no entry for are named in
    // the question and the report; while the game runs, the question says so.
    // When the file on disk is no longer what was opened, asks Overwrite (after a backup of
    // the changed file, whatever `backup` says), Reload (after a second question: the file
    // is opened again, the edits discarded) or Cancel. A file another program keeps locked
    // is not saved, with a message naming it.
    enum class SaveOutcome { Saved, NotSaved, Reloaded, ChangedOnDisk, Busy };
    SaveOutcome save(bool backup);

    // Which entries the sim's file has, from the body strings as read.
    WardrobeLayout layout() const;
    // Whether any field (the body type aside, which is never stored) differs from what
    // was read.
    bool hasUnsavedChanges() const;
    // The changed outfits that the sim's file has no entry for (pajamas, winter).
    std::vector<OutfitKind> unstorableChanges() const;
    // The formal hand that Save would drop because the other one is empty.
    std::optional<HandSlot> droppedFormalHand() const;
    // Everything Save would not store, as the question and the report name it:
    // "Pajamas", "Winter", "Formal left", ...
    std::vector<std::string> notStored() const;
    // Cancel, Escape or closing the window: true when it may close, after asking
    // "Discard your changes to NAME?" when something changed.
    bool confirmDiscard();

    // What the edit window's buttons do to the wardrobe. They write `fields` and the
    // previews only; nothing reaches the file before Save. The window moves the focus,
    // shows the chooser and guards each click with the button's procedure name (see
    // changeProcedureName); these throw RuntimeError where the click must fail.

    // A "Default" button: asks "<prompt>\r\nAre You Sure?"; on Yes writes the default
    // names (where there are any) and refreshes the preview. False on No (or for the
    // normal outfit, which has no Default button).
    bool applyDefaultOutfit(OutfitKind kind);
    bool applyDefaultHands(HandPose pose);
    // What an outfit's "Change" button asks the chooser for: the filter code, e.g.
    // "falgtfitF". Throws RuntimeError 9 at stage 2000 for a set without entry 15.
    shell::SkinRequest outfitRequest(OutfitKind kind) const;
    // The chooser's outfit choice: "mesh,texture" into the outfit's fields, the bitmap at
    // its preview file as the preview (none when that is empty, NotFound when it no
    // longer loads). Nothing changes for an empty choice. Throws RuntimeError 5 at
    // stage 3000 for a choice without ",".
    void applyOutfitChoice(OutfitKind kind, const shell::SkinChoice& choice);
    // The chooser's hand choice: the texture into the slot, its preview from the base
    // skin folder (HandNotFound when it does not load).
    void applyHandChoice(HandSlot slot, const shell::SkinChoice& choice);
    // "Copy Left": the left hand's texture and preview become the right's too.
    void copyLeft(HandPose pose);
    // "Normal" of the formal hands: on Yes both formal hands become empty (the formal
    // hands are then the normal hands). False on No.
    bool normalFormalHands();


    // What the Default buttons read: age, gender and B from the fields, T (entry 15, empty
    // when the set has no such entry) and N from the body strings as read.
    RuleInputs ruleInputs() const;

    // The fields the window shows (txtName ... txtHandClosedRight, the body type).
    const WardrobeFields& fields() const { return fields_; }
    // Changes the fields through `edit` (the command line's KEY=VALUE, a test) and tells
    // the views. The previews are not looked up again: see loadFields.
    void changeFields(const std::function<void(WardrobeFields&)>& edit);
    // The body type option buttons; the body type is never stored, only used by Change.
    void setBodyType(BodyType type);
    // An ensemble loaded: the fields become `loaded` and every preview is looked up again.
    void loadFields(WardrobeFields loaded);

    // The pictures: picWebImage, picFaces, picRelImages, and each outfit's and hand's preview.
    const platform::ShownPicture& webImage() const { return webImage_; }
    const platform::ShownPicture& faces() const { return faces_; }
    const platform::ShownPicture& relImages() const { return relImages_; }
    const platform::ShownPicture& outfitPreview(OutfitKind kind) const {
        return outfitPreviews_[static_cast<std::size_t>(kind)];
    }
    const platform::ShownPicture& handPreview(HandSlot slot) const {
        return handPreviews_[static_cast<std::size_t>(slot)];
    }

    // Every view of the model subscribes here once; it is told after each change of the
    // fields or the pictures (an opening, a Default, a Change, Copy Left, an ensemble, a
    // reload after Save).
    void onChange(shell::ChangeSignal::Handler handler) { changed_.subscribe(std::move(handler)); }

    const IffFile& iff() const { return iff_; }
    const StringSet& bodyStrings() const { return bodyStrings_; }
    // The path of the backup the last save made ("" when none).
    const std::string& lastBackup() const { return lastBackup_; }

    platform::Services& services() { return services_; }
    const shell::GameSession& session() const { return session_; }

private:
    void reset(const std::string& path);
    // Every preview looked up again from its field, outfits in all three skin folders, each
    // hand on its own in the base and the third expansion folder. A picture that fails
    // shows the stock picture.
    void refreshPreviews();
    bool show();
    // Tells the user why the sim is not shown; false.
    bool refuse(std::string problem);
    void loadPictures();
    std::string makeBackup();
    SaveOutcome writeFile(bool backup);

    platform::Services& services_;
    const shell::GameSession& session_;
    // Where the previews' bitmaps lie; the skin folders are read afresh at each opening.
    SkinBitmaps skinBitmaps_;
    IffFile iff_;
    StringSet bodyStrings_;
    std::string editedPath_;   // the file opened
    std::string problem_;
    std::string lastBackup_;
    WardrobeFields read_;   // the fields as the opening showed them
    FileIdentity readIdentity_;   // the bytes the opening read, compared before a save
    WardrobeFields fields_;
    platform::ShownPicture webImage_;
    platform::ShownPicture faces_;
    platform::ShownPicture relImages_;
    std::array<platform::ShownPicture, 6> outfitPreviews_;   // by OutfitKind
    std::array<platform::ShownPicture, 8> handPreviews_;     // by HandSlot
    shell::ChangeSignal changed_;
};

// "Not stored (this sim's file has no entry for them): Pajamas, Winter"; "" for none.
std::string notStoredLine(const std::vector<OutfitKind>& kinds);
// "Not stored (the formal hands are kept only as a pair): Formal left"; "" for none.
std::string notStoredLine(std::optional<HandSlot> loneFormalHand);

// The procedure a change button's click reports to the error trap ("cmdChangeFormal_Click",
// "cmdleftClosedHand_Click", ...).
const char* changeProcedureName(OutfitKind kind);
const char* changeProcedureName(HandSlot slot);
// The chooser letter of an outfit: "B", "S", "F", "L", "N" or "W".
char chooserLetter(OutfitKind kind);

}  // namespace drapeline::wardrobe
