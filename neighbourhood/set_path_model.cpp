#include "neighbourhood/set_path_model.h"

#include "neighbourhood/game_location.h"
#include "platform/files.h"

namespace drapeline::neighbourhood {

SetPathModel::SetPathModel(platform::Services& services, shell::GameSession& session)
    : services_(services), session_(session) {}

void SetPathModel::load() {
    registryLocation_ = registryGameLocation(services_.registry);
    location_ = services_.settings.value(keys::SimsLocation);
    changed_.notify();
}

void SetPathModel::setRegistryLocation(std::string location) {
    registryLocation_ = std::move(location);
    changed_.notify();
}

void SetPathModel::setLocation(std::string location) {
    if (location == location_) return;
    location_ = std::move(location);
    changed_.notify();
}

void SetPathModel::useRegistry() {
    if (registryLocation_ == kRegistryFailure || registryLocation_.empty()) {
        services_.dialogs.warn("Registry value invalid. Please find the path manually.",
                               "Path Invalid");
        return;
    }
    setLocation(registryLocation_);
}

void SetPathModel::findPath() {
    std::vector<std::string> shortcuts;
    for (const auto& install : findInstalls_()) shortcuts.push_back(install.folder);
    if (auto folder = services_.dialogs.chooseFolder("Select the location of The Sims.", shortcuts))
        setLocation(*folder);
}

bool SetPathModel::accept() {
    if (!simsExeFound(location_)) {
        services_.dialogs.warn("The Sims was not found in:\r\n" + location_ +
                                   "\r\nThe selected location was invalid",
                               "Selected Location Invalid");
        return false;
    }
    session_.setGameFolder(location_);
    services_.settings.setValue(keys::SimsLocation, location_);
    return true;
}

}  // namespace drapeline::neighbourhood
