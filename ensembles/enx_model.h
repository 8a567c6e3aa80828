#pragma once
// The ensemble window's rules without widgets: which file the action button writes or
// reads, the overwrite and delete questions, and the names it refuses. The window shows
// the list and the text box and forwards its clicks.

#include <string>
#include <vector>

#include "platform/services.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::ensembles {

class EnxModel {
public:
    // `fields` are the edit window's fields: saved from, or loaded into a sim whose file
    // has `layout`.
    EnxModel(platform::Services& services, wardrobe::WardrobeFields& fields,
             wardrobe::WardrobeLayout layout);

    int Mode = 2;                 // 1 save, anything else load
    std::string txtFileName;
    std::string selectedEntry;    // the entry selected in flbENX, "" when none

    std::string caption() const;        // "Save Ensemble File:" / "Load Ensemble File:"
    std::string actionCaption() const;  // "Save" / "Load"

    // The list's names. The folder is created when it has gone missing, so that the window
    // can still save.
    std::vector<std::string> files() const;

    void flbENX_Click(const std::string& name);

    // Save or load; true when the window closes. Loading never ends the program: a file
    // that can not be read or is no ensemble is reported and every field stays as it was.
    bool cmdSaveLoad_Click();

    // Deletes the file named exactly as typed, after asking; true when the list should be
    // refreshed.
    bool cmdDelete_Click();

private:
    bool save(const std::string& folder);
    bool load(const std::string& folder);
    void warn(const std::string& text);

    platform::Services& services_;
    wardrobe::WardrobeFields& fields_;
    wardrobe::WardrobeLayout layout_;
};

}  // namespace drapeline::ensembles
