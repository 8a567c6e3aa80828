#pragma once
// The Set Path window's rules: the registry's location beside the one in use, "Use",
// "Find" and "OK". The window shows txtRegistry and txtLocation and forwards its clicks.

#include <functional>
#include <string>
#include <vector>

#include "platform/game_discovery.h"
#include "platform/services.h"
#include "shell/game_session.h"

namespace drapeline::neighbourhood {

class SetPathModel {
public:
    SetPathModel(platform::Services& services, app::GameSession& session);

    // Loading: the registry's value and the stored "Sims Location".
    void Form_Load();

    void cmdUseReg_Click();
    void cmdFindPath_Click();
    // True when the location was accepted and the window closes.
    bool cmdOK_Click();

    std::string txtRegistry;
    std::string txtLocation;

    // The installs "Find" offers as shortcuts; looked for each time the chooser opens.
    std::function<std::vector<platform::GameInstall>()> findInstalls = platform::findInstalledGames;

private:
    platform::Services& services_;
    app::GameSession& session_;
};

}  // namespace drapeline::neighbourhood
