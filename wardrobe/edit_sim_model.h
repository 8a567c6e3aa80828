#pragma once
// The edit window's state and its opening, Cancel and Save, without widgets. The window
// shows `fields` and the pictures and forwards its clicks; the command-line tool drives
// the same object.

#include <array>
#include <string>

#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/pictures.h"
#include "platform/services.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::wardrobe {

class EditSimModel {
public:
    EditSimModel(platform::Services& services, const std::string& gameLocation);

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
    // " has been saved.". True when the sim was saved (the window then closes).
    bool cmdSave_Click(bool backup);

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
    const std::string& gameLocation() const { return gameLocation_; }

private:
    void reset();
    bool show();
    void loadPictures();
    std::string msMakeUserBackup();

    platform::Services& services_;
    const std::string& gameLocation_;
    IffFile iff_;
    StringSet bodyStrings_;
    std::string editedPath_;   // LoadUserFile as it was at the opening
    std::string problem_;
    std::string lastBackup_;
};

}  // namespace drapeline::wardrobe
