#include "neighbourhood/set_path_model.h"

#include "neighbourhood/game_location.h"
#include "platform/files.h"

namespace drapeline::neighbourhood {

SetPathModel::SetPathModel(platform::Services& services, app::GameSession& session)
    : services_(services), session_(session) {}

void SetPathModel::Form_Load() {
    txtRegistry = registryGameLocation(services_.registry);
    txtLocation = services_.settings.value(keys::SimsLocation);
}

void SetPathModel::cmdUseReg_Click() {
    if (txtRegistry == "ERROR" || txtRegistry.empty()) {
        services_.dialogs.warn("Registry value invalid. Please find the path manually.",
                               "Path Invalid");
        return;
    }
    txtLocation = txtRegistry;
}

void SetPathModel::cmdFindPath_Click() {
    std::vector<std::string> shortcuts;
    for (const auto& install : findInstalls()) shortcuts.push_back(install.folder);
    if (auto folder = services_.dialogs.chooseFolder("Select the location of The Sims.", shortcuts))
        txtLocation = *folder;
}

bool SetPathModel::cmdOK_Click() {
    if (!simsExeFound(txtLocation)) {
        services_.dialogs.warn("The Sims was not found in:\r\n" + txtLocation +
                                   "\r\nThe selected location was invalid",
                               "Selected Location Invalid");
        return false;
    }
    session_.setGameFolder(txtLocation);
    services_.settings.setValue(keys::SimsLocation, txtLocation);
    return true;
}

}  // namespace drapeline::neighbourhood
