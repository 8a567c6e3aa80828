#pragma once
// The way back: the backups that saves, repairs and restores leave in the program folder's
// Backup folder, read from their names, and putting one back in place of the character
// file it was taken from. The restore window and the command line share all of it.

#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "shell/game_session.h"

namespace drapeline::tools {

// What a backup's name tells: the character file's name, the sim part, the neighbourhood
// folder and the time, cleaned as a save names it
// ("User00012iff_ellauser00012_UserData2_20020330_140507", "_2" for a second one within
// the same second).
struct BackupInfo {
    std::string path;            // full path of the backup file
    std::string fileName;        // "User00012iff": the name without its dot
    std::string simPart;         // "ellauser00012"
    std::string neighbourhood;   // "UserData2"; the drive (or "") for a file kept elsewhere
    platform::LocalTime time;
    int copy = 1;

    // The character file's name as it most likely was: "User00012.iff".
    std::string characterFileName() const;
};

// The parts of a backup's name; nothing for a name that no save could have made.
std::optional<BackupInfo> parseBackupName(const std::string& name);

// programFolder/Backup
std::string backupFolder(const std::string& programFolder);

// Every backup in the Backup folder, newest first. Files whose names no save could have
// made are left out.
std::vector<BackupInfo> listBackups(const std::string& programFolder);

// Whether the backup was taken of the character file at `characterPath` (same cleaned file
// name and neighbourhood, any letter case).
bool isBackupOf(const BackupInfo& backup, const std::string& characterPath);

// "2002-03-30 14:05:07"
std::string timeText(const platform::LocalTime& t);

// A backup checked and matched with its character file in the game folder, ready to go
// back in place; or why it can not.
struct PreparedRestore {
    std::string problem;         // non-empty: refused
    std::string characterPath;
    ByteText bytes;              // the backup, read once
};

// Reads the backup with the checked reader and finds its character file: in the
// neighbourhood its name gives, or, when no neighbourhood of the game folder has that
// name (a backup of a file kept elsewhere), in whichever one neighbourhood holds a
// character file of that name. Several such files are refused as ambiguous.
PreparedRestore prepareRestore(const std::string& backupPath, const std::string& gameLocation);

// Backs up the character file as it is now (so that the restore can itself be undone),
// then puts the backup's bytes in place through the save's durable replacement. Returns
// the backup taken. Throws RuntimeError, the character file then unchanged.
std::string completeRestore(const PreparedRestore& prepared, const std::string& programFolder,
                            const platform::Clock& clock);

// "The backup NAME can not be restored: PROBLEM. Nothing has been changed."
std::string refusalMessage(const std::string& backupPath, const std::string& problem);

// The restore window's state without widgets: the list, the filter and Restore.
class RestoreModel {
public:
    // `simPath` is the sim selected in the main window ("" for none): its backups are
    // listed until all are asked for.
    RestoreModel(platform::Services& services, const shell::GameSession& session, std::string simPath);

    bool hasSim() const { return !simPath_.empty(); }
    bool showAll() const { return showAll_ || simPath_.empty(); }
    void setShowAll(bool all);
    // "Backups of User00012.iff (UserData2)" or "Backups of all sims"
    std::string heading() const;
    const std::vector<BackupInfo>& rows() const { return rows_; }
    void refresh();

    // Restores the backup of a row after asking; tells the outcome. True when restored.
    bool restore(std::size_t row);

private:
    platform::Services& services_;
    const shell::GameSession& session_;
    std::string simPath_;
    bool showAll_ = false;
    std::vector<BackupInfo> rows_;
};

}  // namespace drapeline::tools
