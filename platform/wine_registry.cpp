// The Wine prefix's registry files are text ("WINE REGISTRY Version 2"): a line
// "[Key\\Path] stamp" opens a key, and lines such as "\"Name\"=\"text\"", "@=\"text\"",
// "\"Name\"=str(2):\"text\"", "\"Name\"=dword:..." or "\"Name\"=hex:..." hold its values.
// Names and strings escape "\\", the closing delimiter and control characters; characters
// beyond ASCII appear as \xNNNN (UTF-16 code units). The file is input we do not control:
// every line that does not parse is skipped, never trusted.

#include "platform/wine_registry.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "platform/files.h"

namespace drapeline::platform {

namespace {

// Real prefixes keep system.reg to tens of megabytes; anything far beyond is not one.
constexpr std::uintmax_t kMaxRegistryFileBytes = 256u * 1024u * 1024u;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Collects UTF-16 code units and writes them out as UTF-8, as Wine names files on the Unix
// side. A unit that is half of no pair becomes '?'.
class Utf16ToUtf8 {
public:
    void add(char32_t unit) {
        if (pendingHigh_) {
            const char32_t high = *pendingHigh_;
            pendingHigh_.reset();
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                appendUtf8(out_, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                return;
            }
            out_.push_back('?');
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) pendingHigh_ = unit;
        else if (unit >= 0xDC00 && unit <= 0xDFFF) out_.push_back('?');
        else appendUtf8(out_, unit);
    }
    std::string finish() {
        if (pendingHigh_) out_.push_back('?');
        pendingHigh_.reset();
        return std::move(out_);
    }

private:
    std::string out_;
    std::optional<char32_t> pendingHigh_;
};

// Decodes an escaped text that starts at `pos` and ends at the first unescaped `close`,
// leaving `pos` just after it. Nothing when the closing delimiter is missing.
std::optional<std::string> unescape(std::string_view line, std::size_t& pos, char close) {
    Utf16ToUtf8 text;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == close) return text.finish();
        if (c != '\\') {
            text.add(static_cast<unsigned char>(c));
            continue;
        }
        if (pos >= line.size()) return std::nullopt;
        const char e = line[pos++];
        switch (e) {
        case 'a': text.add(0x07); break;
        case 'b': text.add(0x08); break;
        case 'e': text.add(0x1B); break;
        case 'f': text.add(0x0C); break;
        case 'n': text.add(0x0A); break;
        case 'r': text.add(0x0D); break;
        case 't': text.add(0x09); break;
        case 'v': text.add(0x0B); break;
        case 'x': {
            char32_t unit = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && isHexDigit(line[pos])) {
                unit = unit * 16 + static_cast<char32_t>(hexValue(line[pos++]));
                ++digits;
            }
            text.add(digits == 0 ? U'x' : unit);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t unit = static_cast<char32_t>(e - '0');
                for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= '0' &&
                                     line[pos] <= '7';
                     ++digits)
                    unit = unit * 8 + static_cast<char32_t>(line[pos++] - '0');
                text.add(unit);
            } else {
                text.add(static_cast<unsigned char>(e));
            }
        }
    }
    return std::nullopt;
}

std::string_view trimLeft(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view trimSeparators(std::string_view s) {
    while (!s.empty() && (s.front() == '\\' || s.front() == '/')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.remove_suffix(1);
    return s;
}

// What a value line says about the value we want: nothing (another value), its text, or
// that it exists but holds no string.
enum class ValueMatch { Other, String, NotString };

ValueMatch readValueLine(std::string_view line, std::string_view wanted, std::string& text) {
    std::size_t pos = 1;
    std::string name;
    if (line.front() == '@') {
        name.clear();
    } else if (auto decoded = unescape(line, pos, '"')) {
        name = std::move(*decoded);
    } else {
        return ValueMatch::Other;
    }
    if (!equalIgnoringCase(name, wanted)) return ValueMatch::Other;
    std::string_view rest = trimLeft(line.substr(pos));
    if (rest.empty() || rest.front() != '=') return ValueMatch::NotString;
    rest = trimLeft(rest.substr(1));
    // Plain and expandable strings are text; multi-strings, numbers and binary data are not.
    for (std::string_view typed : {std::string_view("str(1):"), std::string_view("str(2):")})
        if (rest.substr(0, typed.size()) == typed) rest.remove_prefix(typed.size());
    if (rest.empty() || rest.front() != '"') return ValueMatch::NotString;
    std::size_t at = 1;
    auto value = unescape(rest, at, '"');
    if (!value) return ValueMatch::NotString;
    // The registry hands a string over up to its first NUL.
    text = value->substr(0, value->find('\0'));
    return ValueMatch::String;
}

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && equalIgnoringCase(s.substr(0, prefix.size()), prefix);
}

// The keys to look in, most likely first. A 32-bit program in a 64-bit prefix sees
// Software\Wow6432Node as its Software, so that is where the game's installer wrote.
std::vector<std::string> candidateKeys(std::string_view keyPath) {
    const std::string_view key = trimSeparators(keyPath);
    constexpr std::string_view software = "Software\\";
    std::vector<std::string> keys;
    if (startsWithIgnoringCase(key, software) &&
        !startsWithIgnoringCase(key.substr(software.size()), "Wow6432Node\\"))
        keys.push_back(std::string(software) + "Wow6432Node\\" +
                       std::string(key.substr(software.size())));
    keys.emplace_back(key);
    return keys;
}

}  // namespace

std::optional<std::string> findRegistryString(const std::string& systemRegText,
                                              const std::string& keyPath,
                                              const std::string& valueName) {
    const std::vector<std::string> keys = candidateKeys(keyPath);
    std::vector<std::optional<std::string>> found(keys.size());
    const std::string_view text(systemRegText);
    std::size_t inKey = keys.size();   // index of the candidate whose values we are in
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trimLeft(line);
        if (line.empty()) continue;

        if (line.front() == '[') {
            inKey = keys.size();
            std::size_t at = 1;
            const auto name = unescape(line, at, ']');
            if (!name) continue;
            const std::string_view normalised = trimSeparators(*name);
            for (std::size_t k = 0; k < keys.size(); ++k)
                if (!found[k] && equalIgnoringCase(normalised, keys[k])) inKey = k;
            continue;
        }
        if (inKey == keys.size() || (line.front() != '"' && line.front() != '@')) continue;

        std::string value;
        switch (readValueLine(line, valueName, value)) {
        case ValueMatch::Other: break;
        case ValueMatch::String:
            if (inKey == 0) return value;   // the preferred key: nothing can beat it
            found[inKey] = std::move(value);
            inKey = keys.size();
            break;
        case ValueMatch::NotString: inKey = keys.size(); break;
        }
    }
    for (auto& value : found)
        if (value) return value;
    return std::nullopt;
}

namespace {

struct DrivePath {
    std::string root;   // the folder inside the prefix that the drive letter names
    std::string rest;   // the path below it, "/" between components
};

std::optional<DrivePath> splitDrivePath(const std::string& prefix, const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    const auto letter = static_cast<unsigned char>(windowsPath[0]);
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return std::nullopt;
    if (windowsPath.size() > 2 && windowsPath[2] != '\\' && windowsPath[2] != '/')
        return std::nullopt;   // "C:foo" is relative to a drive's current folder: no mapping
    const char lower = static_cast<char>(letter | 0x20);
    std::string base = prefix;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    DrivePath drive;
    drive.root = lower == 'c' ? base + "/drive_c" : base + "/dosdevices/" + lower + ":";
    for (const char c : std::string_view(windowsPath).substr(2)) {
        const char s = c == '\\' ? '/' : c;
        if (s == '/' && (drive.rest.empty() || drive.rest.back() == '/')) continue;
        drive.rest.push_back(s);
    }
    if (!drive.rest.empty() && drive.rest.back() == '/') drive.rest.pop_back();
    return drive;
}

}  // namespace

std::string mapWindowsPath(const std::string& prefix, const std::string& windowsPath) {
    const auto drive = splitDrivePath(prefix, windowsPath);
    if (!drive) return windowsPath;
    // The installer wrote the folder in whatever letter case it liked; the Unix side keeps
    // the case it was created with.
    return drive->rest.empty() ? drive->root : resolvePath(drive->root, drive->rest);
}

std::string winePrefix() {
    std::string prefix;
    if (const char* set = std::getenv("WINEPREFIX"); set && *set) {
        prefix = set;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        prefix = std::string(home) + "/.wine";
    } else {
        return {};
    }
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    return prefix;
}

WineRegistry::WineRegistry(std::string prefix) : prefix_(std::move(prefix)) {}

std::optional<std::string> WineRegistry::readValue(RegistryHive hive, const std::string& keyPath,
                                                   const std::string& valueName,
                                                   std::size_t bufferBytes) {
    const std::nullopt_t failure = std::nullopt;
    if (prefix_.empty()) return failure;

    const char* file = nullptr;
    switch (hive) {
    case RegistryHive::LocalMachine: file = "system.reg"; break;
    case RegistryHive::CurrentUser: file = "user.reg"; break;
    }
    if (file == nullptr) return failure;
    const std::string path = prefix_ + "/" + file;

    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return failure;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxRegistryFileBytes) return failure;

    std::optional<std::string> value;
    try {
        value = findRegistryString(readWholeFile(path), keyPath, valueName);
    } catch (const std::exception&) {
        return failure;
    }
    if (!value) return failure;

    // The buffer holds the characters and the closing NUL, as the Windows registry counts.
    const auto characters = static_cast<std::int64_t>(
        std::count_if(value->begin(), value->end(),
                      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    if (static_cast<std::size_t>(characters) + 1 > bufferBytes) return failure;

    return mapWindowsPath(prefix_, *value);
}

}  // namespace drapeline::platform
