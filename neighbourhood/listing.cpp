#include "neighbourhood/listing.h"

#include <algorithm>
#include <cctype>

#include "platform/files.h"
#include "core/ascii.h"

namespace drapeline::neighbourhood {

namespace {

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// A numeric suffix as a whole number of at least two digits (2 -> 02, 10 -> 10, 7.6 -> 08);
// anything else is shown as it is.
std::string twoDigitSuffix(const std::string& suffix) {
    std::string whole = suffix;
    std::string fraction;
    if (const auto dot = suffix.find('.'); dot != std::string::npos) {
        whole = suffix.substr(0, dot);
        fraction = suffix.substr(dot + 1);
        if (!allDigits(fraction)) return suffix;
        if (whole.empty()) whole = "0";
    }
    if (!allDigits(whole)) return suffix;
    // Digits as text: a suffix of any length neither overflows nor loses digits.
    if (!fraction.empty() && fraction[0] >= '5') {
        std::size_t i = whole.size();
        while (i > 0 && whole[i - 1] == '9') whole[--i] = '0';
        if (i == 0) whole.insert(whole.begin(), '1');
        else ++whole[i - 1];
    }
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    if (whole.size() < 2) whole.insert(0, 2 - whole.size(), '0');
    return whole;
}

}  // namespace

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

std::vector<std::string> listNeighbourhoodFolders(const std::string& gameLocation) {
    if (gameLocation.empty()) return {};
    return platform::listFolder(gameLocation, "Userdata*", platform::Listing::FilesAndFolders);
}

std::string neighbourhoodLine(const std::string& folderName) {
    const std::string number =
        folderName.size() == 8 ? std::string("01") : twoDigitSuffix(folderName.substr(
                                                         std::min<std::size_t>(8, folderName.size())));
    return "Neighborhood " + number + "   (" + folderName + ")";
}

std::vector<std::string> neighbourhoodLines(const std::vector<std::string>& folderNames) {
    std::vector<std::string> lines;
    lines.reserve(folderNames.size());
    for (const auto& name : folderNames) lines.push_back(neighbourhoodLine(name));
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return platform::lessIgnoringCase(a, b);
    });
    return lines;
}

std::string folderOfLine(const std::string& line) {
    static const std::string marker = "(userdata";
    const std::string lower = ascii::lower(line);
    const auto at = lower.find(marker);
    if (at == std::string::npos) return {};
    std::string rest = line.substr(at + 1);
    if (const auto close = rest.find(')'); close != std::string::npos) rest.erase(close);
    return rest;
}

std::string characterFolder(const std::string& gameLocation, const std::string& userDataDir) {
    return platform::resolvePath(gameLocation, userDataDir + "/characters");
}

std::vector<std::string> listSimFiles(const std::string& gameLocation,
                                        const std::string& userDataDir) {
    if (gameLocation.empty() || !isPlainName(userDataDir)) return {};
    const std::string folder = characterFolder(gameLocation, userDataDir);
    // A save killed before its rename leaves its hidden temporary file behind.
    platform::removeStaleTemporaries(folder);
    return platform::listFolder(folder, "user*.iff", platform::Listing::FilesOnly);
}

}  // namespace drapeline::neighbourhood
