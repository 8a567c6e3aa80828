#include "neighbourhood/game_location.h"

#include <cctype>

#include "platform/files.h"
#include "platform/game_discovery.h"

namespace drapeline::neighbourhood {

std::string registryGameLocation(platform::Registry& registry) {
    return registry
        .readString(platform::RegistryHive::LocalMachine, "Software\\Maxis\\The Sims", "InstallPath")
        .value_or(kRegistryFailure);
}

void applyFirstStartDefaults(platform::SettingsStore& settings,
                             const std::string& registryLocation) {
    if (settings.value(keys::BackupSavedFile).empty()) settings.setValue(keys::BackupSavedFile, "1");
    if (settings.value(keys::SkipPajamaSave).empty()) settings.setValue(keys::SkipPajamaSave, "1");
    if (settings.value(keys::SimsLocation).empty())
        settings.setValue(keys::SimsLocation, registryLocation);
}

namespace {

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string launcherWords(const std::string& kind) {
    if (kind == "proton") return "Proton prefix";
    if (kind == "lutris") return "Lutris prefix";
    if (kind == "bottles") return "Bottles prefix";
    if (kind == "playonlinux") return "PlayOnLinux prefix";
    if (kind == "wine" || kind == "WINEPREFIX") return "Wine prefix";
    return {};
}

}  // namespace

std::string gameSource(const std::string& folder, const std::string& registryLocation,
                       const std::vector<platform::GameInstall>& installs) {
    const std::string used = withoutTrailingSeparators(folder);
    for (const auto& install : installs) {
        if (withoutTrailingSeparators(install.folder) != used) continue;
        if (install.source == "steam library") return "Steam library";
        const std::string launcher = launcherWords(install.kind);
        if (install.source == "registry") return launcher.empty() ? "registry" : "registry, " + launcher;
        if (!launcher.empty()) return launcher;
    }
    if (!registryLocation.empty() && withoutTrailingSeparators(registryLocation) == used) return "registry";
    return "chosen by hand";
}

std::string gameStatusText(const std::string& folder, const std::string& source, bool demo) {
    if (demo) return "Game: demo game (" + folder + ")";
    if (folder.empty() || folder == kRegistryFailure) return "Game: not found (Options > Set Path chooses it)";
    return "Game: " + folder + " (" + source + ")";
}

double leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
    double value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    return sign * value;
}

bool backupChecked(const platform::SettingsStore& settings) {
    return leadingNumber(settings.value(keys::BackupSavedFile)) == 1.0;
}

bool toggleBackup(platform::SettingsStore& settings, bool checked) {
    const bool now = !checked;
    settings.setValue(keys::BackupSavedFile, now ? "1" : "0");
    return now;
}

bool simsExeFound(const std::string& gameLocation) { return platform::holdsSimsExe(gameLocation); }

std::vector<Notice> gameLocationNotices(const std::string& gameLocation) {
    std::vector<Notice> notices;
    const char* const setPath = "Please use the Set Path menu option to locate The Sims.";
    std::string text;
    if (gameLocation.empty()) {
        text = std::string("The path to The Sims was not found in the registry.\r\n") + setPath;
    } else if (gameLocation == "ERROR") {
        text = std::string("GetRegistryString failed on error.\r\n"
                           "The path to The Sims can not be found.\r\n") +
               setPath;
    }
    if (!text.empty())
        notices.push_back({text, platform::MessageIcon::Critical, "Path to The Sims not found!"});
    if (!simsExeFound(gameLocation)) {
        notices.push_back(
            {std::string("The file SIMS.EXE was not found in the path specified in the registry.\r\n") +
                 setPath,
             platform::MessageIcon::Critical, "SIMS.EXE Not Found!"});
    }
    return notices;
}

}  // namespace drapeline::neighbourhood
