#include "platform/program_folder.h"

#include "core/native_path.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace drapeline::platform {

std::string executableFolder() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return pathText(fs::current_path());
    return pathText(fs::path(std::wstring(buffer, n)).parent_path());
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
#endif
}

namespace {

// Writable means we can create and remove a file there, not merely that the mode bits say so.
bool writable(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    const fs::path probe = folder / ".drapeline-write-probe";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) return false;
    }
    fs::remove(probe, ec);
    return true;
}

std::string withoutTrailingSeparator(fs::path p) {
    std::string s = pathText(p.make_preferred());
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
    return s;
}

fs::path userDataFolder() {
#ifdef _WIN32
    // The wide one: the narrow environment spells a user's name in the ANSI code page.
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        return fs::path(local) / "Drapeline";
#endif
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "Drapeline";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "Drapeline";
    return fs::temp_directory_path() / "Drapeline";
}

}  // namespace

std::string findProgramFolder() {
    std::error_code ec;
    if (const char* home = std::getenv("DRAPELINE_HOME"); home && *home) {
        fs::create_directories(nativePath(home), ec);
        return withoutTrailingSeparator(nativePath(home));
    }
    const fs::path exe = nativePath(executableFolder());
    if (writable(exe)) return withoutTrailingSeparator(exe);
    const fs::path user = userDataFolder();
    fs::create_directories(user, ec);
    return withoutTrailingSeparator(user);
}

}  // namespace drapeline::platform
