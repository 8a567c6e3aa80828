#pragma once
// The ensemble window's rules without widgets: which file the action button writes or
// reads, the overwrite and delete questions, and the names it refuses. The window shows
// the list and the text box and forwards its clicks.

#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::ensembles {

// What the ensemble window was opened for: the edit window's fields saved into a file, or
// a file loaded into them.
enum class EnsembleMode { Save, Load };

class EnxModel {
public:
    // `fields` are the edit window's fields: saved from, or loaded over for a sim whose file
    // has `layout`. The window hands back what was loaded (see loaded()).
    EnxModel(platform::Services& services, wardrobe::WardrobeFields fields,
             wardrobe::WardrobeLayout layout, EnsembleMode mode);

    // The fields: as given, or as the last successful load left them.
    const wardrobe::WardrobeFields& fields() const { return fields_; }
    // Whether a load succeeded: the edit window then takes fields().
    bool loaded() const { return loaded_; }

    EnsembleMode mode() const { return mode_; }
    void setMode(EnsembleMode mode) { mode_ = mode; }
    // The name in the text box.
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }
    // The list entry selected, "" when none.
    const std::string& selectedEntry() const { return selectedEntry_; }
    void setSelectedEntry(std::string name) { selectedEntry_ = std::move(name); }

    std::string caption() const;        // "Save Ensemble File:" / "Load Ensemble File:"
    std::string actionCaption() const;  // "Save" / "Load"

    // The list's names. The folder is created when it has gone missing, so that the window
    // can still save.
    std::vector<std::string> files() const;

    // A list entry selected: it becomes the name too.
    void chooseFile(const std::string& name);

    // Save or load; true when the window closes. An empty name is told as missing, and
    // the question before an existing file is overwritten keeps it by default. Loading
    // never ends the program: a file that can not be read or is no ensemble is reported
    // and every field stays as it was.
    bool saveOrLoad();

    // Deletes the file named exactly as typed, after asking; true when the list should be
    // refreshed.
    bool deleteChosen();

private:
    bool save(const std::string& folder);
    bool load(const std::string& folder);
    void warn(const std::string& text);

    platform::Services& services_;
    wardrobe::WardrobeFields fields_;
    bool loaded_ = false;
    wardrobe::WardrobeLayout layout_;
    EnsembleMode mode_;
    std::string fileName_;
    std::string selectedEntry_;
};

}  // namespace drapeline::ensembles
