#include "ensembles/enx_model.h"

#include "ensembles/ensemble_file.h"
#include "platform/files.h"

namespace drapeline::ensembles {

namespace {
constexpr char MessageTitle[] = "Ensemble File";
}

EnxModel::EnxModel(platform::Services& services, wardrobe::WardrobeFields fields,
                   wardrobe::WardrobeLayout layout, EnsembleMode mode)
    : services_(services), fields_(std::move(fields)), layout_(layout), mode_(mode) {}

std::string EnxModel::caption() const {
    return mode_ == EnsembleMode::Save ? "Save Ensemble File:" : "Load Ensemble File:";
}

std::string EnxModel::actionCaption() const {
    return mode_ == EnsembleMode::Save ? "Save" : "Load";
}

std::vector<std::string> EnxModel::files() const {
    platform::createFolder(ensembleFolder(services_.programFolder));
    return listEnsembleFiles(services_.programFolder);
}

void EnxModel::chooseFile(const std::string& name) {
    selectedEntry_ = name;
    fileName_ = name;
}

void EnxModel::warn(const std::string& text) { services_.dialogs.warn(text, MessageTitle); }

bool EnxModel::saveOrLoad() {
    if (fileName_.empty()) {
        warn(mode_ == EnsembleMode::Save
                 ? "Type a name for the ensemble file in the File name box."
                 : "Choose an ensemble file in the list, or type its name in the File name box.");
        return false;
    }
    fileName_ = withEnxExtension(fileName_);
    if (auto problem = unsafeNameProblem(fileName_)) {
        warn(*problem);
        return false;
    }
    const std::string folder = ensembleFolder(services_.programFolder);
    return mode_ == EnsembleMode::Save ? save(folder) : load(folder);
}

bool EnxModel::save(const std::string& folder) {
    const std::string path = platform::resolvePath(folder, fileName_);
    if (platform::pathExists(path) && !services_.dialogs.confirmLoss("Overwrite file " + path))
        return false;
    try {
        if (!platform::createFolder(folder)) throw RuntimeError(err::PathNotFound);
        // An ensemble that fails halfway must not cost the user the one it replaces.
        platform::replaceFileAtomically(path, ensembleText(fields_));
    } catch (const RuntimeError& e) {
        warn("The ensemble file " + path + " could not be written (" + e.text() + ").");
        return false;
    }
    return true;
}

bool EnxModel::load(const std::string& folder) {
    // The selected list entry decides; without one, the typed name is taken only when such
    // a file is there: a typo is told as a missing file, not as a failed read.
    std::string name = selectedEntry_;
    if (name.empty()) {
        if (!platform::fileExists(platform::resolvePath(folder, fileName_))) {
            warn("There is no ensemble file " + fileName_ + " in " + folder + ".");
            return false;
        }
        name = fileName_;
    } else if (auto problem = unsafeNameProblem(name)) {
        warn(*problem);
        return false;
    }
    const std::string path = platform::resolvePath(folder, name);
    // Loaded into a copy so that a refused file leaves every field as it was.
    wardrobe::WardrobeFields loaded = fields_;
    if (auto problem = loadEnsembleFile(path, loaded, layout_)) {
        warn("The ensemble file " + path + " can not be loaded: " + *problem +
             ". No field has been changed.");
        return false;
    }
    fields_ = std::move(loaded);
    loaded_ = true;
    return true;
}

bool EnxModel::deleteChosen() {
    if (fileName_.empty()) return false;
    if (auto problem = unsafeNameProblem(fileName_)) {
        warn(*problem);
        return false;
    }
    const std::string path =
        platform::resolvePath(ensembleFolder(services_.programFolder), fileName_);
    if (!platform::fileExists(path)) return false;
    if (!services_.dialogs.confirm("Delete file " + path)) return false;
    platform::removeFile(path);
    if (platform::equalIgnoringCase(selectedEntry_, platform::fileNameOf(path))) selectedEntry_.clear();
    fileName_.clear();
    return true;
}

}  // namespace drapeline::ensembles
