#include "tools/backups.h"

#include <algorithm>
#include <tuple>

#include "core/binary_support.h"
#include "core/iff_file.h"
#include "neighbourhood/listing.h"
#include "platform/file_lock.h"
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

std::string nameOf(const wardrobe::SimIdentity& sim) {
    return sim.catalogueName.empty() ? sim.objectLabel : sim.catalogueName;
}

// The sim a character file or backup holds; none when it can not be read.
std::optional<wardrobe::SimIdentity> simIn(const std::string& path, ByteText* bytes = nullptr) {
    IffFile iff;
    ByteText read;
    if (!iff::readChecked(iff, path, read).empty()) return std::nullopt;
    if (bytes) *bytes = std::move(read);
    try {
        return wardrobe::readIdentity(iff);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
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

std::string BackupInfo::simName() const {
    return sim && !sim->catalogueName.empty() ? sim->catalogueName : simPart;
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
    // The file name never holds "_"; the sim part and the neighbourhood folder may
    // ("UserData_old"). The neighbourhood starts at the first later part that begins with
    // "Userdata", as a save finds it; without one it is the last part (a drive).
    parts.resize(parts.size() - 2);
    info.fileName = parts.front();
    if (info.fileName.empty()) return std::nullopt;
    std::size_t from = parts.size() - 1;
    for (std::size_t i = 2; i < parts.size(); ++i)
        if (platform::equalIgnoringCase(std::string_view(parts[i]).substr(0, 8), "userdata")) {
            from = i;
            break;
        }
    const auto join = [&](std::size_t first, std::size_t end) {
        std::string text;
        for (std::size_t i = first; i < end; ++i) text += (i > first ? "_" : "") + parts[i];
        return text;
    };
    info.simPart = join(1, from);
    info.neighbourhood = join(from, parts.size());
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
        info->sim = simIn(info->path);
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

std::vector<BackupInfo> backupsOf(std::vector<BackupInfo> backups, const std::string& characterPath) {
    const std::string file = cleaned(platform::fileNameOf(characterPath));
    const std::string folder = cleaned(wardrobe::backupNeighbourhood(characterPath));
    std::erase_if(backups, [&](const BackupInfo& b) {
        return !platform::equalIgnoringCase(b.fileName, file) ||
               !platform::equalIgnoringCase(b.neighbourhood, folder);
    });
    if (backups.empty()) return backups;
    if (const auto now = simIn(characterPath))
        std::erase_if(backups, [&](const BackupInfo& b) { return b.sim && !wardrobe::sameSim(*b.sim, *now); });
    return backups;
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
        ByteText now;
        const auto there = simIn(prepared.characterPath, &now);
        if (!there) return prepared;
        prepared.current = identityOf(now);
        wardrobe::SimIdentity held;
        try {
            held = wardrobe::readIdentity(iff);
        } catch (const RuntimeError&) {
            return prepared;   // a backup without a readable label can not be compared
        }
        if (!wardrobe::sameSim(held, *there))
            prepared.otherSim = "This backup holds " + nameOf(held) + "; " + found[0].folder + "/" +
                                found[0].file + " now holds " + nameOf(*there) + ".";
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
    }, prepared.current);
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
    if (!showAll()) rows_ = backupsOf(std::move(rows_), simPath_);
}

bool RestoreModel::restore(std::size_t row) {
    if (row >= rows_.size()) return false;
    const BackupInfo& backup = rows_[row];
    const PreparedRestore prepared = prepareRestore(backup.path, session_.gameFolder());
    if (!prepared.problem.empty()) {
        services_.dialogs.warn(refusalMessage(backup.path, prepared.problem), MessageTitle);
        return false;
    }
    const std::string question = "Put the backup of " + timeText(backup.time) + " in place of " +
                                 prepared.characterPath +
                                 "?\r\nThe file as it is now is backed up first.\r\nAre You Sure?";
    // Another sim's backup would replace this sim: asked with No as the default.
    if (prepared.otherSim.empty() ? !services_.dialogs.confirm(question)
                                  : !services_.dialogs.confirmLoss(prepared.otherSim + "\r\n" + question))
        return false;
    std::string taken;
    const auto refuse = [&](const std::string& why) {
        services_.dialogs.warn(refusalMessage(backup.path, "it could not be put in place (" + why + ")"),
                               MessageTitle);
        return false;
    };
    try {
        taken = completeRestore(prepared, services_.programFolder, services_.clock);
    } catch (const RuntimeError& e) {
        return refuse(e.text());
    } catch (const platform::FileBusy& e) {
        return refuse(e.what());
    } catch (const wardrobe::CharacterFileChanged& e) {
        return refuse(e.what());
    }
    services_.dialogs.inform(prepared.characterPath + " has been restored from the backup of " +
                                 timeText(backup.time) + ".\r\nThe file as it was is kept in the backup " +
                                 taken + ".",
                             "Success");
    refresh();
    return true;
}

}  // namespace drapeline::tools
