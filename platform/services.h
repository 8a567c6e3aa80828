#pragma once
// What the logic asks of the machine, bundled so that windows and the command-line tool
// hand one object down, and tests hand down their doubles.

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/pictures.h"
#include "platform/registry.h"
#include "platform/settings.h"

namespace drapeline::platform {

struct Services {
    SettingsStore& settings;
    Dialogs& dialogs;
    Registry& registry;
    const PictureLoader& pictures;
    const Clock& clock;
    std::string programFolder;
    // Whether the game runs now (see game_process.h); unset means it is not known to.
    std::function<bool()> gameRunning = {};

    bool gameIsRunning() const { return gameRunning && gameRunning(); }
};

// The notice shown while the game runs, in the main window and in the Save question.
inline constexpr char GameRunningNotice[] =
    "The game is running: it rewrites character files when it saves. Close it before you save here.";

}  // namespace drapeline::platform
