// On Windows the places come from the machine itself: the game's registry entry, Steam's
// entry in the user's registry, and the Program Files folders as the environment names
// them (they are elsewhere on a machine installed in another language or on another drive).

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/native_path.h"
#include "platform/game_discovery.h"
#include "platform/registry.h"

namespace drapeline::platform {

namespace {

// Windows paths up to the long-path limit; the default of 255 bytes is the game's own.
constexpr std::size_t kLongestPath = 32767;

std::string registryFolder(Registry& registry, RegistryHive hive, const char* key, const char* value) {
    return registry.readString(hive, key, value, kLongestPath).value_or(std::string());
}

// Steam writes its path with forward slashes ("c:/program files (x86)/steam").
std::string withBackslashes(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The wide environment: the narrow one spells a folder in the ANSI code page.
std::string environmentFolder(const wchar_t* name, const char* otherwise) {
    const wchar_t* value = _wgetenv(name);
    return value && *value ? pathText(std::filesystem::path(value)) : otherwise;
}

}  // namespace

std::vector<GameInstall> findInstalledGames() {
    const auto registry = makeMachineRegistry();
    WindowsPlaces places;
    places.installPath =
        registryFolder(*registry, RegistryHive::LocalMachine, "Software\\Maxis\\The Sims", "InstallPath");
    places.steamPath = withBackslashes(
        registryFolder(*registry, RegistryHive::CurrentUser, "Software\\Valve\\Steam", "SteamPath"));
    // ProgramW6432 names the 64-bit folder even to a 32-bit program.
    places.programFiles = {environmentFolder(L"ProgramW6432", "C:\\Program Files"),
                           environmentFolder(L"ProgramFiles(x86)", "C:\\Program Files (x86)")};
    return findWindowsGameInstalls(places);
}

}  // namespace drapeline::platform
