#pragma once
// The way back: the backups that saves, repairs and restores leave in the program folder's
// Backup folder, read from their names, and putting one back in place of the character
// file it was taken from. The restore window and the command line share all of it.

#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "shell/game_session.h"
#include "wardrobe/sim_file.h"

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
    // The sim the backup itself holds (none when it can not be read): the name's sim part
    // drops a letter and runs the label into it.
    std::optional<wardrobe::SimIdentity> sim;

    // The sim's first name from the backup, else the sim part of the name.
    std::string simName() const;

    // The character file's name as it most likely was: "User00012.iff".
    std::string characterFileName() const;
};

// The parts of a backup's name; nothing for a name that no save could have made.
std::optional<BackupInfo> parseBackupName(const std::string& name);

// programFolder/Backup
std::string backupFolder(const std::string& programFolder);

// Every backup in the Backup folder, newest first, each with the name of the sim it holds.
// Files whose names no save could have made are left out.
std::vector<BackupInfo> listBackups(const std::string& programFolder);

// The backups taken of the character file at `characterPath`: the same cleaned file name
// and neighbourhood (any letter case), and, where both files can be read, the same sim
// (another game's User00005 is another sim). The character file is read once.
std::vector<BackupInfo> backupsOf(std::vector<BackupInfo> backups, const std::string& characterPath);

// "2002-03-30 14:05:07"
std::string timeText(const platform::LocalTime& t);

// A backup checked and matched with its character file in the game folder, ready to go
// back in place; or why it can not.
struct PreparedRestore {
    std::string problem;         // non-empty: refused
    std::string characterPath;
    ByteText bytes;              // the backup, read once
    // Non-empty when the file now holds another sim: "This backup holds Nils;
    // UserData/User00005.iff now holds Yusuf." The restore goes on only when asked to.
    std::string otherSim;
    // What the character file held when it was looked at; the restore replaces only that.
    std::optional<FileIdentity> current;
};

// Reads the backup with the checked reader and finds its character file: in the
// neighbourhood its name gives, or, when no neighbourhood of the game folder has that
// name (a backup of a file kept elsewhere), in whichever one neighbourhood holds a
// character file of that name. Several such files are refused as ambiguous. The sim in the
// backup is compared with the sim in the file (see wardrobe::sameSim); a file that can
// not be read is taken as it is, since putting a backup in its place is the repair.
PreparedRestore prepareRestore(const std::string& backupPath, const std::string& gameLocation);

// Backs up the character file as it is now (so that the restore can itself be undone),
// then puts the backup's bytes in place through the save's durable replacement, provided
// the file is still what prepareRestore saw. Returns the backup taken. Throws RuntimeError,
// platform::FileBusy or wardrobe::CharacterFileChanged, the character file then unchanged.
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
