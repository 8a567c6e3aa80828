#include "neighbourhood/main_window_model.h"

#include <algorithm>

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

std::string MainWindowModel::simPath(const std::string& fileName) const {
    return platform::joinPath(characterFolder(gameLocation_, selectedUserDataDir_), fileName);
}

}  // namespace drapeline::neighbourhood
