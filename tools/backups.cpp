#include "tools/backups.h"

#include <algorithm>
#include <tuple>

#include "core/binary_support.h"
#include "core/iff_file.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"
#include "tools/sim_pass.h"
#include "wardrobe/sim_file.h"

namespace drapeline::tools {

namespace {

constexpr char MessageTitle[] = "Restore Backup";

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

bool digits(const std::string& text, std::size_t minSize, std::size_t maxSize) {
    return text.size() >= minSize && text.size() <= maxSize &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(const std::string& text, std::size_t from, std::size_t count) {
    return std::stoi(text.substr(from, count));
}

std::string cleaned(const std::string& name) { return iff::cleanFileName(name); }

// The simple name of a neighbourhood folder holding a character file whose cleaned name
// is `fileName`, with that file's real name.
struct Found {
    std::string folder, file;
};
std::vector<Found> characterFilesNamed(const std::string& game, const std::vector<std::string>& folders,
                                       const std::string& fileName) {
    std::vector<Found> found;
    for (const auto& folder : folders)
        for (const auto& file : neighbourhood::listSimFiles(game, folder))
            if (platform::equalIgnoringCase(cleaned(file), fileName)) found.push_back({folder, file});
    return found;
}

}  // namespace

std::string BackupInfo::characterFileName() const {
    if (fileName.size() > 3) {
        const std::string extension = fileName.substr(fileName.size() - 3);
        if (platform::equalIgnoringCase(extension, "iff"))
            return fileName.substr(0, fileName.size() - 3) + "." + extension;
    }
    return fileName;
}

std::optional<BackupInfo> parseBackupName(const std::string& name) {
    auto parts = splitAt(name, '_');
    BackupInfo info;
    if (parts.size() >= 6 && digits(parts.back(), 1, 4) && digits(parts[parts.size() - 2], 6, 6)) {
        info.copy = std::stoi(parts.back());
        if (info.copy < 2) return std::nullopt;
        parts.pop_back();
    }
    if (parts.size() < 5) return std::nullopt;
    const std::string date = parts[parts.size() - 2], clock = parts.back();
    if (!digits(date, 8, 8) || !digits(clock, 6, 6)) return std::nullopt;
    info.time = {number(date, 0, 4), number(date, 4, 2), number(date, 6, 2),
                 number(clock, 0, 2), number(clock, 2, 2), number(clock, 4, 2)};
    const auto& t = info.time;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 59)
        return std::nullopt;
    // The sim part may hold "_" itself; the file name and the neighbourhood never do.
    parts.resize(parts.size() - 2);
    info.fileName = parts.front();
    info.neighbourhood = parts.back();
    if (info.fileName.empty()) return std::nullopt;
    for (std::size_t i = 1; i + 1 < parts.size(); ++i)
        info.simPart += (i > 1 ? "_" : "") + parts[i];
    return info;
}

std::string backupFolder(const std::string& programFolder) {
    return platform::resolvePath(programFolder, "Backup");
}

std::vector<BackupInfo> listBackups(const std::string& programFolder) {
    const std::string folder = backupFolder(programFolder);
    std::vector<BackupInfo> backups;
    for (const auto& name : platform::listFolder(folder, "*", platform::Listing::FilesOnly)) {
        auto info = parseBackupName(name);
        if (!info) continue;
        info->path = platform::joinPath(folder, name);
        backups.push_back(std::move(*info));
    }
    const auto key = [](const BackupInfo& b) {
        const auto& t = b.time;
        return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, b.copy);
    };
    std::stable_sort(backups.begin(), backups.end(),
                     [&](const BackupInfo& a, const BackupInfo& b) { return key(a) > key(b); });
    return backups;
}

bool isBackupOf(const BackupInfo& backup, const std::string& characterPath) {
    return platform::equalIgnoringCase(backup.fileName, cleaned(platform::fileNameOf(characterPath))) &&
           platform::equalIgnoringCase(backup.neighbourhood,
                                       cleaned(wardrobe::backupNeighbourhood(characterPath)));
}

std::string timeText(const platform::LocalTime& t) {
    const auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(t.year) + "-" + two(t.month) + "-" + two(t.day) + " " + two(t.hour) + ":" +
           two(t.minute) + ":" + two(t.second);
}

PreparedRestore prepareRestore(const std::string& backupPath, const std::string& gameLocation) {
    PreparedRestore prepared;
    const auto info = parseBackupName(platform::fileNameOf(backupPath));
    if (!info) {
        prepared.problem = "its name is not that of a backup Drapeline makes";
        return prepared;
    }
    if (iff::tooLargeForCharacterFile(backupPath)) {
        prepared.problem = "it is far too large to be a character file";
        return prepared;
    }
    IffFile iff;
    const std::string error = iff::readChecked(iff, backupPath, prepared.bytes);
    if (!error.empty()) {
        prepared.problem = "it is damaged or can not be read (" + error + ")";
        return prepared;
    }

    std::vector<std::string> folders;
    for (const auto& folder : neighbourhood::listNeighbourhoodFolders(gameLocation))
        if (neighbourhood::isPlainName(folder) &&
            platform::folderExists(platform::joinPath(gameLocation, folder)))
            folders.push_back(folder);
    std::vector<std::string> named;
    for (const auto& folder : folders)
        if (platform::equalIgnoringCase(cleaned(folder), info->neighbourhood)) named.push_back(folder);
    const std::string wanted = info->characterFileName();
    const auto found = characterFilesNamed(gameLocation, named.empty() ? folders : named, info->fileName);
    if (found.size() == 1) {
        prepared.characterPath = platform::joinPath(
            neighbourhood::characterFolder(gameLocation, found[0].folder), found[0].file);
        return prepared;
    }
    if (found.empty())
        prepared.problem = named.empty()
                               ? "no neighbourhood of the game folder " + gameLocation + " holds " + wanted
                               : wanted + " is not in " + named[0] + " of the game folder " + gameLocation;
    else {
        prepared.problem = wanted + " is in more than one neighbourhood (";
        for (std::size_t i = 0; i < found.size(); ++i) prepared.problem += (i ? ", " : "") + found[i].folder;
        prepared.problem += "), and the backup's name does not say which";
    }
    return prepared;
}

std::string completeRestore(const PreparedRestore& prepared, const std::string& programFolder,
                            const platform::Clock& clock) {
    std::string taken;
    const std::string& path = prepared.characterPath;
    wardrobe::replaceCharacterFile(prepared.bytes, path, programFolder, [&] {
        // The file as it is now may be damaged; its backup is then named without the sim.
        IffFile current;
        const bool readable = iff::readIffChecked(current, path).empty();
        taken = wardrobe::makeUserBackup(programFolder, path,
                                         readable ? detail::backupSimName(current) : std::string(),
                                         clock.now());
    });
    return taken;
}

std::string refusalMessage(const std::string& backupPath, const std::string& problem) {
    return "The backup " + backupPath + " can not be restored: " + problem + ". Nothing has been changed.";
}

RestoreModel::RestoreModel(platform::Services& services, const shell::GameSession& session,
                           std::string simPath)
    : services_(services), session_(session), simPath_(std::move(simPath)) {
    refresh();
}

void RestoreModel::setShowAll(bool all) {
    showAll_ = all;
    refresh();
}

std::string RestoreModel::heading() const {
    if (showAll()) return "Backups of all sims";
    return "Backups of " + platform::fileNameOf(simPath_) + " (" + wardrobe::backupNeighbourhood(simPath_) + ")";
}

void RestoreModel::refresh() {
    rows_ = listBackups(services_.programFolder);
    if (showAll()) return;
    std::erase_if(rows_, [&](const BackupInfo& b) { return !isBackupOf(b, simPath_); });
}

bool RestoreModel::restore(std::size_t row) {
    if (row >= rows_.size()) return false;
    const BackupInfo& backup = rows_[row];
    const PreparedRestore prepared = prepareRestore(backup.path, session_.gameFolder());
    if (!prepared.problem.empty()) {
        services_.dialogs.warn(refusalMessage(backup.path, prepared.problem), MessageTitle);
        return false;
    }
    if (!services_.dialogs.confirm("Put the backup of " + timeText(backup.time) + " in place of " +
                                   prepared.characterPath +
                                   "?\r\nThe file as it is now is backed up first.\r\nAre You Sure?"))
        return false;
    std::string taken;
    try {
        taken = completeRestore(prepared, services_.programFolder, services_.clock);
    } catch (const RuntimeError& e) {
        services_.dialogs.warn(refusalMessage(backup.path, "it could not be put in place (" + e.text() + ")"),
                               MessageTitle);
        return false;
    }
    services_.dialogs.inform(prepared.characterPath + " has been restored from the backup of " +
                                 timeText(backup.time) + ".\r\nThe file as it was is kept in the backup " +
                                 taken + ".",
                             "Success");
    refresh();
    return true;
}

}  // namespace drapeline::tools
