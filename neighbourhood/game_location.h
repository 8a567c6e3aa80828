#pragma once
// Where the game is, and the settings that carry the program's choices from run to run.

#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/game_discovery.h"
#include "platform/registry.h"
#include "platform/settings.h"

namespace drapeline::neighbourhood {

namespace keys {
inline constexpr char BackupSavedFile[] = "Backup Saved File";
inline constexpr char SkipPajamaSave[] = "Skip Pajama Save";
inline constexpr char SimsLocation[] = "Sims Location";
inline constexpr char LastNeighborhoodSelected[] = "Last Neighborhood Selected";
}  // namespace keys

// The text stored and shown as the registry's location when the registry has none.
inline constexpr char kRegistryFailure[] = "ERROR";

// What the game's installer wrote: the folder, kRegistryFailure or an empty text.
std::string registryGameLocation(platform::Registry& registry);

// First start: every missing setting gets its default; "Sims Location" comes from the
// registry (which may read "ERROR" or be empty).
void applyFirstStartDefaults(platform::SettingsStore& settings,
                             const std::string& registryLocation);

// The check mark of "Create Backup File": the stored value's number equals 1.
bool backupChecked(const platform::SettingsStore& settings);
// Flips the check mark and stores it; returns the new state.
bool toggleBackup(platform::SettingsStore& settings, bool checked);

// True when a file named Sims.exe (any letter case) is in the folder.
bool simsExeFound(const std::string& gameLocation);

struct Notice {
    std::string text;
    platform::MessageIcon icon;
    std::string title;
};

// The messages the main window shows, in order, each time it becomes active: a missing
// or unreadable location, then a missing Sims.exe. Empty when the game is there.
std::vector<Notice> gameLocationNotices(const std::string& gameLocation);

// Where the game folder in use came from, in the words of the status line: the install
// found at that folder ("registry, Proton prefix", "Wine prefix", "Steam library"), the
// registry's value ("registry"), or "chosen by hand".
std::string gameSource(const std::string& folder, const std::string& registryLocation,
                       const std::vector<platform::GameInstall>& installs);
// The status line: "Game: FOLDER (SOURCE)", or "Game: demo game (FOLDER)".
std::string gameStatusText(const std::string& folder, const std::string& source, bool demo);

// The leading number of a text, as the settings compare it ("1", " 1", "1.0" are 1).
double leadingNumber(const std::string& text);

}  // namespace drapeline::neighbourhood
