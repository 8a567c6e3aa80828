#pragma once
// What the logic asks of the machine, bundled so that windows and the command-line tool
// hand one object down, and tests hand down their doubles.

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
};

}  // namespace drapeline::platform
