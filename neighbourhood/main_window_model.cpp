#include "neighbourhood/main_window_model.h"

#include <algorithm>

#include "shell/thumb_grid.h"
#include "core/errors.h"
#include "neighbourhood/game_location.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"

namespace drapeline::neighbourhood {

MainWindowModel::MainWindowModel(platform::Services& services, std::string& gameLocation)
    : services_(services), gameLocation_(gameLocation) {}

void MainWindowModel::Form_Load() {
    const std::string registryLocation = registryGameLocation(services_.registry);
    applyFirstStartDefaults(services_.settings, registryLocation);
    backupChecked_ = neighbourhood::backupChecked(services_.settings);
    gameLocation_ = override_.empty() ? services_.settings.value(keys::SimsLocation) : override_;
    simFiles_.clear();
    // Ensemble files live here; it usually exists already, and a failure is not fatal here.
    platform::createFolder(platform::joinPath(services_.programFolder, "ENX"));
}

void MainWindowModel::Form_Activate() {
    for (const auto& notice : gameLocationNotices(gameLocation_))
        services_.dialogs.message(notice.text, notice.icon, platform::MessageButtons::Ok,
                                  notice.title);
    if (!simsExeFound(gameLocation_)) return;
    if (simFiles_.empty()) listNeighbourhoods();
}

void MainWindowModel::listNeighbourhoods() {
    userDataDirs_ = guarded("frmMain", "msGetUserDataDirs", Stages::None,
                            [&] { return msGetUserDataDirs(gameLocation_); });
    lines_ = neighbourhoodLines(userDataDirs_);
    selectedLine_.clear();
    const std::string last = services_.settings.value(keys::LastNeighborhoodSelected);
    if (std::find(lines_.begin(), lines_.end(), last) != lines_.end())
        lstUserDataDir_Click(last);
}

void MainWindowModel::smenuBackup_Click() {
    backupChecked_ = toggleBackup(services_.settings, backupChecked_);
}

void MainWindowModel::gameLocationChanged() {
    userDataDirs_.clear();
    lines_.clear();
    selectedLine_.clear();
    selectedUserDataDir_.clear();
    simFiles_.clear();
    CurrentPage = 0;
    SelectedCell = 0;
}

void MainWindowModel::lstUserDataDir_Click(const std::string& line) {
    if (line.empty()) return;
    selectedLine_ = line;
    selectedUserDataDir_ = folderOfLine(line);
    CurrentPage = 0;
    SelectedCell = 0;
    simFiles_ = guarded("frmMain", "msGetFileNames", Stages::None,
                        [&] { return msGetFileNames(gameLocation_, selectedUserDataDir_); });
    if (onNeighbourhoodChosen) onNeighbourhoodChosen();
}

std::optional<std::string> MainWindowModel::picThumbs_MouseDown(int x, int y) {
    SelectedCell = app::thumbgrid::hitCell(x, y);
    const auto index = app::thumbgrid::fileIndex(CurrentPage, SelectedCell, simFiles_.size());
    if (!index) return std::nullopt;
    return simPath(simFiles_[*index]);
}

bool MainWindowModel::cmdNext_Click() {
    if (app::thumbgrid::lastPage(simFiles_.size()) <= CurrentPage) return false;
    ++CurrentPage;
    return true;
}

bool MainWindowModel::cmdPrevious_Click() {
    if (CurrentPage <= 0) return false;
    --CurrentPage;
    return true;
}

std::optional<MainWindowModel::SimToEdit> MainWindowModel::cmdSelect_Click(bool previewShowsAName) {
    if (selectedLine_.empty() || !previewShowsAName) return std::nullopt;
    const auto index = app::thumbgrid::fileIndex(CurrentPage, SelectedCell, simFiles_.size());
    if (!index) return std::nullopt;
    SimToEdit sim{simPath(simFiles_[*index]), {}};
    // An unreadable file is already explained in the preview.
    if (!modIFFsupport::gfstrReadIFFChecked(sim.iff, sim.path).empty()) return std::nullopt;
    services_.settings.setValue(keys::LastNeighborhoodSelected, selectedLine_);
    return sim;
}

std::string MainWindowModel::simPath(const std::string& fileName) const {
    return platform::joinPath(characterFolder(gameLocation_, selectedUserDataDir_), fileName);
}

}  // namespace drapeline::neighbourhood
