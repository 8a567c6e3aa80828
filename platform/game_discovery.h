#pragma once
// Where the game may be installed: on a Linux machine the Wine prefixes of plain Wine,
// Steam's Proton, Lutris, Bottles and PlayOnLinux, and Steam's own library folders; on
// Windows the registry, the Program Files folders and Steam's libraries. Every folder and
// file looked at is someone else's: a damaged or missing one is passed over.

#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace drapeline::platform {

// The places discovery starts from; fromEnvironment() reads them from the process.
struct DiscoveryPlaces {
    std::string home;         // empty: no home folder, nothing below it is searched
    std::string winePrefix;   // $WINEPREFIX, empty when unset
    static DiscoveryPlaces fromEnvironment();
};

struct WinePrefix {
    std::string path;
    std::string kind;   // "WINEPREFIX", "wine", "proton", "lutris", "bottles", "playonlinux"
};

struct GameInstall {
    std::string folder;   // holds Sims.exe
    std::string source;   // "registry", "program files" or "steam library"
    std::string kind;     // the prefix's kind; "steam" for a Steam library folder
    std::string prefix;   // the Wine prefix it was found in; empty for a Steam library
};

// The "path" entries of a Steam libraryfolders.vdf (and the numbered entries of its older
// form), in file order. Whatever does not parse is skipped.
std::vector<std::string> parseLibraryFolders(const std::string& vdfText);

// Every Steam library folder: each Steam installation (native, ~/.steam, Flatpak) and the
// libraries its libraryfolders.vdf lists, each existing folder once.
std::vector<std::string> steamLibraries(const DiscoveryPlaces& places);

// The Wine prefixes to search, in the order their registries are asked, each once.
std::vector<WinePrefix> winePrefixes(const DiscoveryPlaces& places);

// True when a file named Sims.exe (any letter case) is in the folder.
bool holdsSimsExe(const std::string& folder);

// Every install found, each folder once, in this order: the InstallPath of each prefix's
// registry, the usual install folders inside each prefix, then game folders directly in a
// Steam library's steamapps/common.
std::vector<GameInstall> findGameInstalls(const DiscoveryPlaces& places);

// What a Windows machine tells of where the game may be; read by findInstalledGames, given
// by hand in tests.
struct WindowsPlaces {
    std::string installPath;                // the game's InstallPath; empty when there is none
    std::string steamPath;                  // Steam's SteamPath (HKCU); empty when there is none
    std::vector<std::string> programFiles;  // both Program Files folders, 64-bit first
};

// Every install on a Windows machine, each folder once, in this order: the registry's
// folder, Maxis/The Sims and EA Games/The Sims Legacy under each Program Files folder, then
// game folders in each Steam library (SteamPath and the libraries its libraryfolders.vdf
// lists), such as steamapps/common/The Sims Legacy Collection.
std::vector<GameInstall> findWindowsGameInstalls(const WindowsPlaces& places);

// The registries of all prefixes of `places`, asked in order; the first that holds the value
// answers. The prefixes are looked for afresh on every call.
class WinePrefixesRegistry final : public Registry {
public:
    explicit WinePrefixesRegistry(DiscoveryPlaces places);

private:
    std::optional<std::string> readValue(RegistryHive hive, const std::string& keyPath,
                                  const std::string& valueName, std::size_t bufferBytes) override;

    DiscoveryPlaces places_;
};

// The installs of this machine: findWindowsGameInstalls over its registry and environment
// on Windows, findGameInstalls over the process's environment elsewhere.
std::vector<GameInstall> findInstalledGames();

}  // namespace drapeline::platform
