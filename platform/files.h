#pragma once
// Files and folders as the logic asks for them. The game spells its folders in many
// letter cases, so every lookup below the game folder resolves each component without
// regard to case (an exact match wins), and listings come back sorted without regard to
// case so that every machine gives the same order. Paths are native strings; relative
// paths given to resolvePath may use "/" or "\" between components.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"

namespace drapeline::platform {

// The native separator: "/" on Linux, "\" on Windows.
char nativeSeparator();

// a + separator + b, without doubling a separator that a already ends with.
std::string joinPath(const std::string& a, const std::string& b);

// The last component of a path (either separator).
std::string fileNameOf(const std::string& path);
// Everything before the last component, without its trailing separator.
std::string folderOf(const std::string& path);

// Case-insensitive "?" and "*" match over a whole name (ASCII letters fold).
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Compares without regard to ASCII letter case; ties broken byte-wise so the order is total.
bool lessIgnoringCase(std::string_view a, std::string_view b);
bool equalIgnoringCase(std::string_view a, std::string_view b);
// The name with its ASCII capitals made small: equal for names that equalIgnoringCase
// finds equal, so a set of folded names answers that question at once.
std::string foldCase(std::string_view name);

// Resolves `relative` below `base` component by component without regard to case. An exact
// match wins; among names that differ only in case the first in byte order is taken. Every
// component but the last must be a folder, so a plain file spelt like one is passed over.
// Components that do not exist are kept as given, so the result also names new files.
// `base` itself is taken as given.
std::string resolvePath(const std::string& base, const std::string& relative);

enum class Listing { FilesOnly, FilesAndFolders };

// Names (no path) of the plain files of `folder`, and of its folders when asked, that match
// `pattern`, sorted without regard to case. Links count as what they point at; broken links
// and special files are left out. A missing or unreadable folder gives an empty list.
std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern,
                                    Listing what);
// The same for the names that match any of `patterns`, in one pass over the folder.
std::vector<std::string> listFolder(const std::string& folder,
                                    const std::vector<std::string>& patterns, Listing what);

bool fileExists(const std::string& path);    // a plain file
bool folderExists(const std::string& path);
bool pathExists(const std::string& path);     // file or folder

// Removes a plain file; false when it was not there or could not be removed.
bool removeFile(const std::string& path);
// Creates a folder and its missing parents; true when it exists afterwards.
bool createFolder(const std::string& path);

// The whole file in one read. Throws RuntimeError 53 (missing), 70 (permission denied)
// or 75 (any other failure).
ByteText readFile(const std::string& path);
// Writes `bytes` beside `path` and renames it into place, so no tail of an older, longer
// file survives, a reader never sees half a file, and a link there is replaced, not
// followed; left for the system to flush (pictures, the error log). Throws RuntimeError
// 75/70/76.
void writeFile(const std::string& path, const ByteText& bytes);
// Copies a file whole, replacing `to`. Throws RuntimeError.
void copyFile(const std::string& from, const std::string& to);

// Durable atomic replace: writes a temporary file in the target's folder, flushes it to
// disk, renames it over the target and flushes the folder. At every moment `target` is
// the complete old or the complete new content. Throws RuntimeError on failure, leaving
// the target untouched. A plain file we may not write (read-only) is refused with error 75
// and left as it is: the rename alone would bypass its permission. Every replacement of a
// character file (saves, repairs, restores) goes through here.
void replaceFileAtomically(const std::string& target, const ByteText& bytes);

// Error 75 (with the system's reason) when `path` is a plain file we may not write. The
// replacement above checks it itself; a caller that writes other files first (a backup)
// asks before it starts.
void refuseReadOnlyFile(const std::string& path);

// When a durable write reaches the disk: before the call returns (Now), or when the
// caller forces it with flushWrites, once for the many files of a batch, before anything
// depends on them (ByCaller).
enum class DiskFlush { Now, ByCaller };

// The same durable write for a file that must not replace anything: false (nothing
// written) when `target` already exists. No moment shows a partly written `target`.
bool writeNewFileAtomically(const std::string& target, const ByteText& bytes,
                            DiskFlush flush = DiskFlush::Now);

// Forces to disk the content and names written ByCaller into `folder` (on Linux the whole
// file system in one step). Throws RuntimeError when the system could not.
void flushWrites(const std::string& folder);
// Makes the renames done in `folder` survive a crash; best effort, as after a replace.
void syncFolder(const std::string& folder);

// The durable atomic replace in two steps, for a batch that shares the disk's flushes
// among its files: the constructor writes the new content beside `target` (a read-only
// target is refused, as by replaceFileAtomically); the caller forces it to disk with
// flushWrites(folder()) before commit() renames it over the target, and syncs the folder
// after. Dropped without a commit, the temporary file is removed and the target never
// touched. Throws RuntimeError.
class StagedReplacement {
public:
    StagedReplacement(const std::string& target, const ByteText& bytes);
    ~StagedReplacement();
    StagedReplacement(StagedReplacement&&) noexcept;
    StagedReplacement& operator=(StagedReplacement&&) noexcept;
    void commit();
    std::string folder() const;

private:
    struct Staged;
    std::unique_ptr<Staged> staged_;
};

// The hidden name a temporary file for `targetName` gets in the target's folder:
// ".<first 32 characters of the target>.drapeline-<tag>-<numbers>.tmp". Unique per call.
std::string temporaryNameFor(const std::string& targetName, const std::string& processTag);

// Removes leftovers of our own interrupted writes from `folder`: hidden
// ".<name>.drapeline-....tmp" files by their exact name pattern, once older than a minute
// (a younger one may belong to a write still running in another process).
void removeStaleTemporaries(const std::string& folder);
// The same, done at most once per folder in a run: every writer calls it for the folder it
// wrote into, so Characters, Backup, ENX and an output's folder are all kept clean.
void removeStaleTemporariesOnce(const std::string& folder);

// The file a symbolic link finally names; any other path as given (a broken link too).
std::string linkTarget(const std::string& path);

}  // namespace drapeline::platform
