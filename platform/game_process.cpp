#include "platform/game_process.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#endif

namespace drapeline::platform {

namespace {

constexpr std::string_view GameProgram = "sims.exe";
// A launcher puts the game's path among its first arguments ("wine start Sims.exe",
// "proton waitforexitandrun .../Sims.exe"); later ones are data, not the program.
constexpr int ArgumentsLookedAt = 6;
// The arguments looked at fit in the first few kilobytes of a command line; the rest is
// never read.
constexpr std::size_t LongestCommandLine = 4096;

bool namesGame(std::string_view argument) {
    const auto cut = argument.find_last_of("/\\");
    if (cut != std::string_view::npos) argument.remove_prefix(cut + 1);
    return equalIgnoringCase(argument, GameProgram);
}

}  // namespace

bool gameProcessUnder(const std::string& procRoot) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(procRoot, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        // /proc reports a size of 0 for its files: read until the end, up to the bound.
        std::ifstream in(it->path() / "cmdline", std::ios::binary);
        if (!in) continue;   // gone meanwhile, or not ours to read
        std::string line(LongestCommandLine, '\0');
        in.read(line.data(), static_cast<std::streamsize>(line.size()));
        line.resize(static_cast<std::size_t>(in.gcount()));
        std::string_view rest(line);
        for (int k = 0; k < ArgumentsLookedAt && !rest.empty(); ++k) {
            const auto end = rest.find('\0');
            if (namesGame(rest.substr(0, end))) return true;
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    }
    return false;
}

bool gameIsRunning() {
#ifdef _WIN32
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, L"Sims.exe") == 0;
    CloseHandle(snapshot);
    return found;
#else
    return gameProcessUnder("/proc");
#endif
}

}  // namespace drapeline::platform
