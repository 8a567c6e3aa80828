// Finding, listing and handling files. Lookups go through std::filesystem with error codes
// only, so a vanished or unreadable entry is an answer, never an exception.

#include "platform/files.h"
#include "core/native_path.h"

#include <algorithm>
#include <chrono>
#include <regex>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <optional>
#include <system_error>

#include "core/file_io.h"

namespace fs = std::filesystem;

namespace drapeline::platform {

namespace {

// The entry's own name. A Windows name that is not valid UTF-16 has no text; it is
// skipped rather than shown mangled.
std::optional<std::string> nameOf(const fs::directory_entry& entry) {
    try {
        return pathText(entry.path().filename());
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

bool isFolder(const fs::directory_entry& entry) {
    std::error_code ec;
    return entry.is_directory(ec);
}

bool isPlainFile(const fs::directory_entry& entry) {
    std::error_code ec;
    return entry.is_regular_file(ec);
}

// (Windows resolves every component from the listing, so only Linux asks this.)
[[maybe_unused]] bool entryExists(const fs::path& p, bool mustBeFolder) {
    std::error_code ec;
    if (mustBeFolder) return fs::is_directory(p, ec);
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

// The entry of `folder` whose name equals `component` without regard to case; the first
// in byte order when several do, so the choice is the same on every machine.
std::optional<std::string> caseVariant(const fs::path& folder, const std::string& component,
                                       bool mustBeFolder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    std::optional<std::string> best;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const auto name = nameOf(*it);
        if (!name || !equalIgnoringCase(*name, component)) continue;
        if (best && *best <= *name) continue;
        if (mustBeFolder && !isFolder(*it)) continue;
        best = name;
    }
    return best;
}

std::vector<std::string> splitComponents(const std::string& relative) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : relative) {
        if (c == '/' || c == '\\') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

}  // namespace

std::string resolvePath(const std::string& base, const std::string& relative) {
    const std::vector<std::string> parts = splitComponents(relative);
    std::string result = base;
    bool stillOnDisk = true;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& given = parts[i];
        // Only a folder can hold the components that follow, so a plain file spelt like the
        // folder we need is passed over.
        const bool mustBeFolder = i + 1 < parts.size();
        std::string chosen = given;
        if (stillOnDisk) {
            const fs::path folder = nativePath(result.empty() ? std::string(".") : result);
#ifdef _WIN32
            // Windows opens any spelling; taking the one on disk makes paths, and the
            // messages that show them, read the same as on Linux.
            const bool spelt = false;
#else
            const bool spelt = entryExists(folder / given, mustBeFolder);
#endif
            if (!spelt) {
                if (auto variant = caseVariant(folder, given, mustBeFolder))
                    chosen = std::move(*variant);
                else
                    stillOnDisk = false;   // nothing below a missing folder can exist
            }
        }
        result = result.empty() ? chosen : joinPath(result, chosen);
    }
    return result;
}

namespace {

std::vector<std::string> listWanted(const std::string& folder,
                                    const std::function<bool(std::string_view)>& wanted,
                                    Listing what) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(nativePath(folder.empty() ? std::string(".") : folder), ec);
    // An error part way through keeps what was read so far: the folder changed under us.
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        auto name = nameOf(*it);
        // The name is tested first: the entry type usually comes with the directory read,
        // but for symbolic links it costs a stat, which non-matching names should not pay.
        if (!name || !wanted(*name)) continue;
        if (isPlainFile(*it) || (what == Listing::FilesAndFolders && isFolder(*it)))
            names.push_back(std::move(*name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
    return names;
}

}  // namespace

std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern,
                                    Listing what) {
    return listWanted(folder, [pattern](std::string_view name) { return wildcardMatch(pattern, name); }, what);
}

std::vector<std::string> listFolder(const std::string& folder,
                                    const std::vector<std::string>& patterns, Listing what) {
    return listWanted(folder, [&patterns](std::string_view name) {
        return std::any_of(patterns.begin(), patterns.end(),
                           [name](const std::string& p) { return wildcardMatch(p, name); });
    }, what);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(nativePath(path), ec);
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(nativePath(path), ec);
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(nativePath(path), ec);
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    const fs::path native = nativePath(path);
    const fs::file_type type = fs::symlink_status(native, ec).type();
    if (ec || (type != fs::file_type::regular && type != fs::file_type::symlink)) return false;
    return fs::remove(native, ec) && !ec;
}

bool createFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const fs::path native = nativePath(path);
    fs::create_directories(native, ec);
    return fs::is_directory(native, ec);
}

void removeStaleTemporaries(const std::string& folder) {
    using namespace std::chrono_literals;
    // Exactly the names temporaryNameFor gives: a dot, up to 32 characters of the target's
    // name, ".drapeline-", the writer's tag and two numbers.
    static const std::regex ours(R"(\..{1,32}\.drapeline-[0-9a-z]+-[0-9]+-[0-9]+\.tmp)",
                                 std::regex::icase | std::regex::optimize);
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(nativePath(folder), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const auto name = nameOf(*it);
        if (!name || name->empty() || (*name)[0] != '.' || !std::regex_match(*name, ours)) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
        const auto written = it->last_write_time(entryError);
        if (entryError || now - written < 1min) continue;
        fs::remove(it->path(), entryError);
    }
}

void removeStaleTemporariesOnce(const std::string& folder) {
    static std::mutex cleanedMutex;
    static std::set<std::string> cleaned;
    {
        const std::lock_guard guard(cleanedMutex);
        if (!cleaned.insert(folder).second) return;
    }
    removeStaleTemporaries(folder);
}

std::string linkTarget(const std::string& path) {
    std::error_code ec;
    const fs::path native = nativePath(path);
    if (!fs::is_symlink(native, ec)) return path;
    const fs::path target = fs::canonical(native, ec);
    return ec ? path : pathText(target);
}

ByteText readFile(const std::string& path) { return readWholeFile(path); }


void copyFile(const std::string& from, const std::string& to) {
    // Read whole, then write: copying a file onto itself leaves it intact instead of
    // truncating it before it is read, and the error numbers are the core's.
    writeFile(to, readWholeFile(from));
}

}  // namespace drapeline::platform
