// Path texts and name comparison: pure functions over byte texts, no file system access.

#include <algorithm>

#include "platform/files.h"
#include "core/ascii.h"

namespace drapeline::platform {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

unsigned char fold(char c) { return static_cast<unsigned char>(ascii::toLower(c)); }

}  // namespace

char nativeSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string joinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (isSeparator(a.back())) return a + b;
    std::string joined;
    joined.reserve(a.size() + 1 + b.size());
    joined.append(a).push_back(nativeSeparator());
    joined.append(b);
    return joined;
}

std::string fileNameOf(const std::string& path) {
    const auto cut = std::find_if(path.rbegin(), path.rend(), isSeparator);
    return std::string(cut.base(), path.end());
}

std::string folderOf(const std::string& path) {
    auto cut = std::find_if(path.rbegin(), path.rend(), isSeparator);
    if (cut == path.rend()) return {};
    // Drop the whole run of separators, but keep a root such as "/" whole.
    while (cut != path.rend() && isSeparator(*cut)) ++cut;
    if (cut == path.rend()) return std::string(1, path.front());
    return std::string(path.begin(), cut.base());
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy match that only ever backtracks to the most recent "*": each "*" can absorb
    // one more character at a time, so the cost stays within pattern x name even for
    // patterns such as "*a*a*a*b" that make a naive recursive matcher explode.
    constexpr std::size_t none = std::string_view::npos;
    std::size_t p = 0, n = 0, starAt = none, resumeName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != none) {
            p = starAt + 1;
            n = ++resumeName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return fold(x) == fold(y); });
}

std::string foldCase(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char c : name) out.push_back(static_cast<char>(fold(c)));
    return out;
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace drapeline::platform
