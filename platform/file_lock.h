#pragma once
// An advisory lock held on a file while it is read, compared and replaced, so that two
// writers (two Drapelines, or Drapeline and any program that locks files) never interleave
// their read-change-write and lose one another's update.
//
// On Linux the file itself is locked with flock and an open-file-description fcntl lock,
// so a holder of either kind is waited for. The lock belongs to the file, not the name:
// once the file is replaced, whoever waited on the old file finds that the name now
// names another one and locks that instead. On Windows a named mutex per file path is
// the lock (a rename can not replace a file that is held open), and a byte-range lock
// that another program holds on the file itself is waited for as well.
//
// Locks of one process nest: locking a file this process already holds is free, so a
// command may lock a sim for its whole read-change-write and call writers that lock too.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace drapeline::platform {

// The file stayed locked by someone else for longer than we were willing to wait.
class FileBusy : public std::runtime_error {
public:
    explicit FileBusy(const std::string& path);
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

// What the file system says of a plain file: the same file, size and modification and
// change times mean no one has written it since (a write moves the change time). None
// where the system keeps no such times (Windows) or the file is not there.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> fileStamp(const std::string& path);

class FileLock {
public:
    static constexpr std::chrono::milliseconds DefaultPatience{2000};

    // Locks the file at `path` (a link is followed to the file it names), waiting at most
    // `patience` for another holder. Throws FileBusy after that; RuntimeError 53 when the
    // file does not exist.
    explicit FileLock(const std::string& path, std::chrono::milliseconds patience = DefaultPatience);
    ~FileLock();
    // The file as it was when this process locked it (see fileStamp): taken before anything
    // was read under the lock. None where the system keeps no such stamp.
    std::optional<FileStamp> stamp() const;
    FileLock(FileLock&&) noexcept;
    FileLock& operator=(FileLock&&) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    struct Held;

private:
    std::shared_ptr<Held> held_;
};

}  // namespace drapeline::platform
