#pragma once
// Paths are held as narrow text: the file system's bytes on Linux, UTF-8 on Windows. The
// standard library on Windows would read narrow text byte by byte (as Latin-1) and write
// wide text back as UTF-8, so a name with an accent would not survive a round trip; every
// path that meets std::filesystem goes through these two.

#include <filesystem>
#include <string>
#include <string_view>

namespace drapeline {

inline std::filesystem::path nativePath(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

// Throws std::system_error on Windows for a name that is not valid UTF-16.
inline std::string pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

}  // namespace drapeline
