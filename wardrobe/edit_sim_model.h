#pragma once
// The edit window's state and its opening, Cancel and Save, without widgets. The window
// shows `fields` and the pictures and forwards its clicks; the command-line tool drives
// the same object.

#include <array>
#include <string>
#include <vector>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/pictures.h"
#include "platform/services.h"
#include "shell/game_session.h"
#include "wardrobe/default_rules.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::wardrobe {

class EditSimModel {
public:
    EditSimModel(platform::Services& services, const app::GameSession& session);

    // Set by the caller before opening: the character file to edit.
    std::string LoadUserFile;
    // The skin chooser's hand-back (set by the chooser, emptied by each change button).
    std::string SelectedSkin;
    std::string LoadSkinFile;

    // The opening sequence: reset, delete the three exported images, read the file (a
    // failure raises the error trap), decode the body strings, show the record, export
    // the bitmaps and load every picture. A wardrobe that can not be shown (see
    // wardrobeProblem) is refused with an exclamation box instead: false, problem() says
    // why, and the window closes.
    bool Form_Load();
    // The same opening for a file the caller has already read with the checked reader
    // (the command-line tool), so that it is read only once.
    bool openRead(IffFile alreadyRead);
    // Why the last opening was refused ("" when it was not).
    const std::string& problem() const { return problem_; }

    // Save: asks "Make changes to ...?", writes the fields into the body strings and the
    // file through replaceCharacterFile, with a backup when `backup` is true, and reports
    // " has been saved.". True when the sim was saved (the window then closes). Changes to
    // outfits the sim's file has no entry for are named in the question and the report.
    bool cmdSave_Click(bool backup);

    // Which entries the sim's file has, from the body strings as read.
    WardrobeLayout layout() const;
    // Whether any field (the body type aside, which is never stored) differs from what
    // was read.
    bool hasUnsavedChanges() const;
    // The changed outfits that the sim's file has no entry for (pajamas, winter).
    std::vector<OutfitKind> unstorableChanges() const;
    // Cancel, Escape or closing the window: true when it may close, after asking
    // "Discard your changes to NAME?" when something changed.
    bool confirmDiscard();

    // The edit window's buttons that change the wardrobe. They write `fields` and the
    // previews only; nothing reaches the file before Save. The window moves the focus,
    // shows the chooser and guards each click with the button's procedure name (see
    // changeProcedureName); these throw RuntimeError where the click must fail.

    // A "Default" button: asks "<prompt>\r\nAre You Sure?"; on Yes writes the default
    // names (where there are any) and refreshes the preview. False on No (or for the
    // normal outfit, which has no Default button).
    bool defaultOutfit_Click(OutfitKind kind);
    bool defaultHands_Click(HandPose pose);
    // The chooser's filter code for an outfit's "Change" button, e.g. "falgtfitF"; empties
    // SelectedSkin. Throws RuntimeError 9 at ErrLocation 2000 for a set without entry 15.
    std::string skinDataFor(OutfitKind kind);
    // After the chooser closed: "mesh,texture" in SelectedSkin into the outfit's fields,
    // the bitmap at LoadSkinFile as its preview (none when LoadSkinFile is empty,
    // NotFound when it no longer loads). Nothing changes when SelectedSkin is empty.
    // Throws RuntimeError 5 at ErrLocation 3000 for a choice without ",".
    void applyOutfitChoice(OutfitKind kind);
    // After the hand chooser closed: SelectedSkin whole into the slot, its preview from
    // the base skin folder (HandNotFound when it does not load).
    void applyHandChoice(HandSlot slot);
    // "Copy Left": the right hand's texture and preview become the left's.
    void copyLeft(HandPose pose);
    // "Normal" of the formal hands: on Yes both formal hands become empty (the formal
    // hands are then the normal hands). False on No.
    bool normalFormalHands_Click();

    // What the Default buttons read: age, gender and B from the fields, T (entry 15, empty
    // when the set has no such entry) and N from the body strings as read.
    RuleInputs ruleInputs() const;

    WardrobeFields fields;

    platform::ShownPicture webImage;    // picWebImage
    platform::ShownPicture faces;       // picFaces
    platform::ShownPicture relImages;   // picRelImages
    std::array<platform::ShownPicture, 6> outfitPreviews;   // by OutfitKind
    std::array<platform::ShownPicture, 8> handPreviews;     // by HandSlot

    const IffFile& iff() const { return iff_; }
    const StringSet& bodyStrings() const { return bodyStrings_; }
    // The path of the backup the last save made ("" when none).
    const std::string& lastBackup() const { return lastBackup_; }

    platform::Services& services() { return services_; }
    const app::GameSession& session() const { return session_; }

private:
    void reset();
    bool show();
    void loadPictures();
    std::string msMakeUserBackup();

    platform::Services& services_;
    const app::GameSession& session_;
    IffFile iff_;
    StringSet bodyStrings_;
    std::string editedPath_;   // LoadUserFile as it was at the opening
    std::string problem_;
    std::string lastBackup_;
    WardrobeFields read_;   // the fields as the opening showed them
};

// "Not stored (this sim's file has no entry for them): Pajamas, Winter"; "" for none.
std::string notStoredLine(const std::vector<OutfitKind>& kinds);

// The procedure a change button's click reports to the error trap ("cmdChangeFormal_Click",
// "cmdleftClosedHand_Click", ...).
const char* changeProcedureName(OutfitKind kind);
const char* changeProcedureName(HandSlot slot);
// The chooser letter of an outfit: "B", "S", "F", "L", "N" or "W".
char chooserLetter(OutfitKind kind);

}  // namespace drapeline::wardrobe
