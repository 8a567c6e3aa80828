#pragma once
// The one writer of files: every file Drapeline writes goes to a temporary file beside
// its target (same folder, so the same file system and the rename stays atomic) and is
// renamed into place, so a reader never sees half a file and no tail of an older, longer
// file survives. The POSIX and Windows halves live in temporary_write_posix.cpp and
// temporary_write_windows.cpp; files.h declares what the rest of the program calls.

#include <filesystem>
#include <string>

#include "core/errors.h"

namespace drapeline::platform::detail {

enum class Existing { Replace, Keep };
// ToDisk: the content and the rename are forced to disk before the call returns, so a
// crash leaves the old or the new file (character files, backups, ensembles). ByCaller:
// the caller forces them with flushWrites, once for the many files of a batch, before
// anything depends on them; where a whole file system can be flushed at once (Linux)
// nothing is flushed now, elsewhere each file's content is. No: the system writes it out
// when it likes (pictures, the error log, the copy of a save).
enum class Flush { ToDisk, ByCaller, No };

// Writes `bytes` through a temporary file; false only when `existing` is Keep and the
// target exists (it is then left alone, and no moment shows it partly written). Throws
// RuntimeError, removing the temporary file. Made of the three steps below.
bool writeThroughTemporary(const std::string& target, const ByteText& bytes, Existing existing,
                           Flush flush);

// The hidden name a temporary file for `targetName` gets in the target's folder:
// ".<first 32 characters of the target>.drapeline-<process>-<numbers>.tmp", unique per
// call. removeStaleTemporaries knows the pattern.
std::string temporaryName(const std::string& targetName);

// Where a write goes: the target, its folder (the temporary file's too) and the name that
// the temporary file borrows. A replacement first refuses a file the user made read-only.
struct WriteTarget {
    std::filesystem::path path;
    std::filesystem::path folder;
    std::string hint;
};
WriteTarget writeTargetOf(const std::string& target, Existing existing);

// The steps each system's half provides (temporary_write_posix.cpp, _windows.cpp).
class TemporaryFile;
// Writes `bytes` to a new temporary file in `where`'s folder, owned by `temp` from then on;
// flushed to disk as `flush` says. A replacement keeps the target's permissions.
void writeTemporary(TemporaryFile& temp, const WriteTarget& where, const ByteText& bytes, Existing existing,
                    Flush flush);
// Renames the temporary file to the target: over it (Replace), or only where the name is
// free (Keep: false when it is taken, the temporary file left to `temp`).
bool putInPlace(TemporaryFile& temp, const WriteTarget& where, Existing existing, Flush flush);
// Makes the renames done in `folder` survive a crash. Best effort: the renames have
// happened, and some file systems refuse to sync a folder at all. Nothing to do on
// Windows, where a flushed move is written through.
void syncFolder(const std::filesystem::path& folder);
// Forces to disk what was written ByCaller into `folder`. Throws RuntimeError when the
// system reports that it could not.
void flushWrites(const std::filesystem::path& folder);

// Removes the temporary file unless the rename consumed it.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (path_.empty()) return;
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void own(std::filesystem::path p) { path_ = std::move(p); }
    void release() { path_.clear(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace drapeline::platform::detail
