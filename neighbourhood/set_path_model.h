#pragma once
// The Set Path window's rules: the registry's location beside the one in use, "Use",
// "Find" and "OK". The window shows the two locations and forwards its clicks.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/game_discovery.h"
#include "platform/services.h"
#include "shell/change_signal.h"
#include "shell/game_session.h"

namespace drapeline::neighbourhood {

class SetPathModel {
public:
    SetPathModel(platform::Services& services, shell::GameSession& session);

    // Loading: the registry's value and the stored "Sims Location".
    void load();

    // "Use": the registry's location becomes the one typed, unless the registry has none.
    void useRegistry();
    // "Find": a folder chosen in the folder chooser becomes the one typed.
    void findPath();
    // "OK": true when the typed location holds the game; it is then used and stored, and
    // the window closes.
    bool accept();

    // The location read from the registry, and the one typed or chosen.
    const std::string& registryLocation() const { return registryLocation_; }
    void setRegistryLocation(std::string location);
    const std::string& location() const { return location_; }
    void setLocation(std::string location);

    // Told whenever either location changes; the window subscribes once and shows both.
    void onChange(shell::ChangeSignal::Handler handler) { changed_.subscribe(std::move(handler)); }

    // The installs "Find" offers as shortcuts; looked for each time the chooser opens.
    using InstallFinder = std::function<std::vector<platform::GameInstall>()>;
    void setInstallFinder(InstallFinder finder) { findInstalls_ = std::move(finder); }

private:
    platform::Services& services_;
    shell::GameSession& session_;
    std::string registryLocation_;
    std::string location_;
    InstallFinder findInstalls_ = platform::findInstalledGames;
    shell::ChangeSignal changed_;
};

}  // namespace drapeline::neighbourhood
