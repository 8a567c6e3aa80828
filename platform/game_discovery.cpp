// Each launcher keeps its Wine prefixes in its own place: Proton one per Steam game under
// steamapps/compatdata/<appid>/pfx in every Steam library, Lutris where its game files say
// (by default ~/Games/<game>), Bottles and PlayOnLinux one folder per bottle. Steam itself
// may be native, reached through ~/.steam, or a Flatpak, and lists its other library
// folders (often on another disk) in libraryfolders.vdf.

#include "platform/game_discovery.h"
#include "core/native_path.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "core/file_io.h"
#include "platform/files.h"
#include "platform/wine_registry.h"

namespace drapeline::platform {

namespace {

namespace fs = std::filesystem;

// Launcher files are a few kilobytes; a far larger one is not what we look for.
constexpr std::uintmax_t kMaxConfigBytes = 4u * 1024u * 1024u;

constexpr const char* kGameKey = "Software\\Maxis\\The Sims";
constexpr const char* kGameValue = "InstallPath";

// The text of a small launcher file, or nothing when it is missing, too big or unreadable.
std::string readSmallFile(const std::string& path) {
    std::error_code ec;
    const fs::path native = nativePath(path);
    if (!fs::is_regular_file(native, ec)) return {};
    const auto size = fs::file_size(native, ec);
    if (ec || size > kMaxConfigBytes) return {};
    try {
        return readWholeFile(path);
    } catch (const std::exception&) {
        return {};
    }
}

// One spelling per folder, however it was reached (~/.steam/steam is usually a link).
class SeenFolders {
public:
    bool firstTime(const std::string& folder) {
        std::error_code ec;
        const fs::path key = fs::canonical(nativePath(folder), ec);
        return seen_.insert(ec ? folder : pathText(key)).second;
    }

private:
    std::set<std::string> seen_;
};

std::vector<std::string> subfolders(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& name : listFolder(folder, "*", Listing::FilesAndFolders)) {
        const std::string path = joinPath(folder, name);
        if (folderExists(path)) found.push_back(path);
    }
    return found;
}

bool looksLikePrefix(const std::string& folder) {
    return fileExists(joinPath(folder, "system.reg")) || folderExists(joinPath(folder, "drive_c"));
}

std::string expandHome(std::string path, const std::string& home) {
    if (path == "~" || path.rfind("~/", 0) == 0) {
        if (home.empty()) return {};
        path = home + path.substr(1);
    }
    return path;
}

// The "prefix:" lines of Lutris's per-game files (YAML; we only need that one scalar).
std::vector<std::string> lutrisConfiguredPrefixes(const std::string& gamesFolder,
                                                  const std::string& home) {
    std::vector<std::string> prefixes;
    for (const auto& name : listFolder(gamesFolder, "*.yml", Listing::FilesOnly)) {
        const std::string text = readSmallFile(joinPath(gamesFolder, name));
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string_view line(text.data() + pos, end - pos);
            pos = end + 1;
            const auto first = line.find_first_not_of(" \t");
            if (first == std::string_view::npos) continue;
            line.remove_prefix(first);
            constexpr std::string_view key = "prefix:";
            if (line.substr(0, key.size()) != key) continue;
            line.remove_prefix(key.size());
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
                line.remove_suffix(1);
            if (line.size() >= 2 && (line.front() == '"' || line.front() == '\'') &&
                line.back() == line.front())
                line = line.substr(1, line.size() - 2);
            if (!line.empty()) prefixes.push_back(expandHome(std::string(line), home));
        }
    }
    return prefixes;
}

// A tokenizer for Valve's KeyValues text: quoted or bare tokens, braces, "//" comments.
class VdfTokens {
public:
    explicit VdfTokens(std::string_view text) : text_(text) {}

    enum class Kind { Text, Open, Close, End };

    Kind next(std::string& token) {
        for (;;) {
            while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            if (pos_ + 1 < text_.size() && text_[pos_] == '/' && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
                continue;
            }
            break;
        }
        if (pos_ >= text_.size()) return Kind::End;
        const char c = text_[pos_];
        if (c == '{') { ++pos_; return Kind::Open; }
        if (c == '}') { ++pos_; return Kind::Close; }
        token.clear();
        if (c == '"') {
            ++pos_;
            while (pos_ < text_.size() && text_[pos_] != '"') {
                char ch = text_[pos_++];
                if (ch == '\\' && pos_ < text_.size()) {
                    const char e = text_[pos_++];
                    ch = e == 'n' ? '\n' : e == 't' ? '\t' : e;
                }
                token.push_back(ch);
            }
            if (pos_ >= text_.size()) return Kind::End;   // unterminated: the rest is damaged
            ++pos_;
            return Kind::Text;
        }
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
               text_[pos_] != '{' && text_[pos_] != '}' && text_[pos_] != '"')
            token.push_back(text_[pos_++]);
        return Kind::Text;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(),
                                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Where the game's installers put it, each under either Program Files folder.
const std::vector<std::string> kInstallFolders = {"Maxis/The Sims", "EA Games/The Sims Legacy"};
const std::vector<std::string> kProgramFiles = {"Program Files", "Program Files (x86)"};

// Steam's own folder is a library, and its libraryfolders.vdf lists the others.
void addSteamLibraries(const std::string& root, const std::string& home, SeenFolders& seen,
                       std::vector<std::string>& libraries) {
    auto add = [&](const std::string& library) {
        if (!library.empty() && folderExists(joinPath(library, "steamapps")) && seen.firstTime(library))
            libraries.push_back(library);
    };
    if (!folderExists(root)) return;
    add(root);
    for (const char* listing : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"})
        for (const auto& path : parseLibraryFolders(readSmallFile(resolvePath(root, listing))))
            add(expandHome(path, home));
}

}  // namespace

DiscoveryPlaces DiscoveryPlaces::fromEnvironment() {
    DiscoveryPlaces places;
    if (const char* home = std::getenv("HOME"); home && *home) places.home = home;
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) places.winePrefix = prefix;
    return places;
}

std::vector<std::string> parseLibraryFolders(const std::string& vdfText) {
    std::vector<std::string> paths;
    VdfTokens tokens(vdfText);
    std::string key;
    std::string value;
    int depth = 0;
    for (;;) {
        const auto kind = tokens.next(key);
        if (kind == VdfTokens::Kind::End) break;
        if (kind == VdfTokens::Kind::Open) { ++depth; continue; }
        if (kind == VdfTokens::Kind::Close) { depth = std::max(0, depth - 1); continue; }
        const auto after = tokens.next(value);
        if (after == VdfTokens::Kind::End) break;
        if (after == VdfTokens::Kind::Open) { ++depth; continue; }
        if (after == VdfTokens::Kind::Close) { depth = std::max(0, depth - 1); continue; }
        // New form: "N" { "path" "..." }; old form: "N" "..." right inside LibraryFolders.
        if (equalIgnoringCase(key, "path") || (depth == 1 && allDigits(key)))
            if (!value.empty()) paths.push_back(value);
    }
    return paths;
}

std::vector<std::string> steamLibraries(const DiscoveryPlaces& places) {
    std::vector<std::string> libraries;
    if (places.home.empty()) return libraries;
    SeenFolders seen;
    const std::string& home = places.home;
    const std::vector<std::string> roots = {
        home + "/.local/share/Steam",
        home + "/.steam/steam",
        home + "/.steam/root",
        home + "/.steam",
        home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
        home + "/.var/app/com.valvesoftware.Steam/data/Steam",
    };
    for (const auto& root : roots) addSteamLibraries(root, home, seen, libraries);
    return libraries;
}

namespace {

std::vector<WinePrefix> prefixesOf(const DiscoveryPlaces& places,
                                   const std::vector<std::string>& libraries) {
    std::vector<WinePrefix> prefixes;
    SeenFolders seen;
    auto add = [&](const std::string& path, const char* kind) {
        if (!path.empty() && looksLikePrefix(path) && seen.firstTime(path))
            prefixes.push_back({path, kind});
    };
    add(places.winePrefix, "WINEPREFIX");
    if (places.home.empty()) return prefixes;
    const std::string& home = places.home;
    add(home + "/.wine", "wine");
    for (const auto& library : libraries)
        for (const auto& game : subfolders(library + "/steamapps/compatdata"))
            add(game + "/pfx", "proton");
    for (const char* config : {"/.config/lutris/games", "/.var/app/net.lutris.Lutris/config/lutris/games"})
        for (const auto& prefix : lutrisConfiguredPrefixes(home + config, home)) add(prefix, "lutris");
    for (const auto& prefix : subfolders(home + "/Games")) add(prefix, "lutris");
    for (const char* bottles : {"/.local/share/bottles/bottles",
                                "/.var/app/com.usebottles.bottles/data/bottles/bottles"})
        for (const auto& prefix : subfolders(home + bottles)) add(prefix, "bottles");
    for (const auto& prefix : subfolders(home + "/.PlayOnLinux/wineprefix")) add(prefix, "playonlinux");
    return prefixes;
}

}  // namespace

std::vector<WinePrefix> winePrefixes(const DiscoveryPlaces& places) {
    return prefixesOf(places, steamLibraries(places));
}

bool holdsSimsExe(const std::string& folder) {
    // An empty location would otherwise name the root folder.
    if (folder.empty()) return false;
    return fileExists(resolvePath(folder, "sims.exe"));
}

std::vector<GameInstall> findGameInstalls(const DiscoveryPlaces& places) {
    std::vector<GameInstall> installs;
    SeenFolders seen;
    auto add = [&](const std::string& folder, const char* source, const std::string& kind,
                   const std::string& prefix) {
        if (holdsSimsExe(folder) && seen.firstTime(folder))
            installs.push_back({folder, source, kind, prefix});
    };
    // Steam's libraries are read once: they give both the Proton prefixes and the game folders.
    const auto libraries = steamLibraries(places);
    const auto prefixes = prefixesOf(places, libraries);
    for (const auto& prefix : prefixes) {
        if (const auto folder =
                WineRegistry(prefix.path).readString(RegistryHive::LocalMachine, kGameKey, kGameValue))
            add(*folder, "registry", prefix.kind, prefix.path);
    }
    for (const auto& prefix : prefixes)
        for (const auto& folder : kInstallFolders)
            for (const auto& programFiles : kProgramFiles)
                add(resolvePath(prefix.path + "/drive_c", programFiles + "/" + folder),
                    "program files", prefix.kind, prefix.path);
    for (const auto& library : libraries)
        for (const auto& game : subfolders(resolvePath(library, "steamapps/common")))
            add(game, "steam library", "steam", "");
    return installs;
}

std::vector<GameInstall> findWindowsGameInstalls(const WindowsPlaces& places) {
    std::vector<GameInstall> installs;
    SeenFolders seen;
    auto add = [&](const std::string& folder, const char* source, const char* kind) {
        if (holdsSimsExe(folder) && seen.firstTime(folder)) installs.push_back({folder, source, kind, ""});
    };
    add(places.installPath, "registry", "windows");
    for (const auto& folder : kInstallFolders)
        for (const auto& programFiles : places.programFiles)
            if (!programFiles.empty()) add(resolvePath(programFiles, folder), "program files", "windows");
    std::vector<std::string> libraries;
    SeenFolders seenLibraries;
    if (!places.steamPath.empty()) addSteamLibraries(places.steamPath, "", seenLibraries, libraries);
    for (const auto& library : libraries)
        for (const auto& game : subfolders(resolvePath(library, "steamapps/common")))
            add(game, "steam library", "steam");
    return installs;
}

WinePrefixesRegistry::WinePrefixesRegistry(DiscoveryPlaces places) : places_(std::move(places)) {}

std::optional<std::string> WinePrefixesRegistry::readValue(RegistryHive hive,
                                                           const std::string& keyPath,
                                                           const std::string& valueName,
                                                           std::size_t bufferBytes) {
    for (const auto& prefix : winePrefixes(places_))
        if (auto value = WineRegistry(prefix.path).readString(hive, keyPath, valueName, bufferBytes))
            return value;
    return std::nullopt;
}

}  // namespace drapeline::platform
