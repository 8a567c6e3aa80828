// The file lock on Linux and other POSIX systems: flock and an open-file-description lock
// on the file itself, so that holders of either kind are waited for. Classic fcntl locks
// would vanish whenever any descriptor of the file in this process is closed (every read
// closes one); open-file-description locks belong to their own descriptor only.

#include "platform/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include "core/errors.h"

namespace drapeline::platform {

struct FileLock::Held {
    int fd = -1;
    dev_t device{};
    ino_t inode{};
    FileStamp stamp;
    ~Held();
};

namespace {

using FileKey = std::pair<dev_t, ino_t>;

// The locks this process holds, by file, so that a nested lock of the same file shares the
// one already held instead of waiting for itself.
std::mutex heldMutex;
std::map<FileKey, std::weak_ptr<FileLock::Held>>& heldLocks() {
    static std::map<FileKey, std::weak_ptr<FileLock::Held>> held;
    return held;
}

FileStamp stampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

bool lockFile(int fd, bool writable) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
#ifdef F_OFD_SETLK
    struct flock range {};
    range.l_type = static_cast<short>(writable ? F_WRLCK : F_RDLCK);
    range.l_whence = SEEK_SET;   // start 0, length 0: the whole file, however it grows
    if (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
        ::flock(fd, LOCK_UN);
        return false;
    }
#else
    (void)writable;
#endif
    return true;
}

}  // namespace

FileLock::Held::~Held() {
    {
        const std::lock_guard guard(heldMutex);
        auto& held = heldLocks();
        const auto it = held.find({device, inode});
        if (it != held.end() && it->second.expired()) held.erase(it);
    }
    // Closing the descriptor releases both locks.
    if (fd >= 0) ::close(fd);
}

FileBusy::FileBusy(const std::string& path)
    : std::runtime_error(path + " is in use by another program"), path_(path) {}

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + patience;
    for (;;) {
        bool writable = true;
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
            // A file we may not write is refused by the writer itself; locking it for
            // reading still keeps others' writes out while that is decided.
            writable = false;
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        }
        if (fd < 0)
            throw systemFailure(errno == ENOENT ? err::FileNotFound : err::PathFileAccess, errno);
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            throw RuntimeError(err::PathFileAccess).withSystemReason("not a regular file");
        }
        const FileKey key{opened.st_dev, opened.st_ino};
        {
            const std::lock_guard guard(heldMutex);
            const auto mine = heldLocks().find(key);
            if (mine != heldLocks().end())
                if (auto shared = mine->second.lock()) {
                    ::close(fd);
                    held_ = std::move(shared);
                    return;
                }
        }
        if (lockFile(fd, writable)) {
            // The name may have been given to a new file while we waited on the old one.
            struct stat named {};
            if (::stat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
                named.st_ino == opened.st_ino) {
                auto held = std::make_shared<Held>();
                held->fd = fd;
                held->device = opened.st_dev;
                held->inode = opened.st_ino;
                held->stamp = stampOf(named);
                const std::lock_guard guard(heldMutex);
                heldLocks()[key] = held;
                held_ = std::move(held);
                return;
            }
            ::close(fd);
            continue;
        }
        ::close(fd);
        if (Clock::now() >= deadline) throw FileBusy(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::optional<FileStamp> FileLock::stamp() const { return held_->stamp; }

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return stampOf(st);
}

FileLock::~FileLock() = default;
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

}  // namespace drapeline::platform
