// The POSIX half of the one file writer (see temporary_write.h): open(O_EXCL) for the
// temporary file, fsync of the file and of its folder when the write must survive a
// crash, rename to replace, and a rename that refuses an existing name (or a link) to
// create without replacing.

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "core/native_path.h"
#include "platform/temporary_write.h"

namespace fs = std::filesystem;

namespace drapeline::platform {

namespace {

constexpr int kAttempts = 64;

// Linux flushes a whole file system in one call (syncfs), so the writes of a batch are
// flushed together instead of one by one.
#ifdef __linux__
constexpr bool kFlushesFileSystem = true;
#else
constexpr bool kFlushesFileSystem = false;
#endif

RuntimeError systemError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return systemFailure(err::PathNotFound, error);
    case EACCES:
    case EPERM:
    case EROFS: return systemFailure(err::PermissionDenied, error);
    default: return systemFailure(err::PathFileAccess, error);
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    bool close() {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

void writeAll(int fd, const ByteText& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw systemError(errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

// 0 when `from` took the name `to`, the error when it could not (EEXIST: the name is
// taken), -1 where the system has no such rename, so that the caller links instead.
int renameWithoutReplacing(const fs::path& from, const fs::path& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno;
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ? -1 : error;
#else
    (void)from;
    (void)to;
    return -1;
#endif
}

}  // namespace

namespace detail {

std::string temporaryName(const std::string& targetName) {
    static const std::string process = std::to_string(static_cast<unsigned long long>(getpid()));
    return temporaryNameFor(targetName, process);
}

void writeTemporary(TemporaryFile& temp, const WriteTarget& where, const ByteText& bytes, Existing existing,
                    Flush flush) {
    struct stat old {};
    const bool replacing =
        existing == Existing::Replace && ::stat(where.path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    Descriptor file(-1);
    for (int attempt = 0; attempt < kAttempts && file.get() < 0; ++attempt) {
        const fs::path candidate = where.folder / nativePath(temporaryName(where.hint));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            throw systemError(errno);
        }
        temp.own(candidate);
        file.reset(fd);
    }
    if (file.get() < 0) throw RuntimeError(err::PathFileAccess);

    // The replacement keeps the target's permissions; a new file gets the umask's.
    if (replacing) ::fchmod(file.get(), old.st_mode & 07777);

    writeAll(file.get(), bytes);
    const bool flushNow = flush == Flush::ToDisk || (flush == Flush::ByCaller && !kFlushesFileSystem);
    if (flushNow && ::fsync(file.get()) != 0) throw systemError(errno);
    if (!file.close()) throw systemError(errno);
}

bool putInPlace(TemporaryFile& temp, const WriteTarget& where, Existing existing, Flush) {
    const fs::path& targetPath = where.path;
    if (existing == Existing::Replace) {
        if (::rename(temp.path().c_str(), targetPath.c_str()) != 0) throw systemError(errno);
        temp.release();
    } else if (const int error = renameWithoutReplacing(temp.path(), targetPath); error >= 0) {
        // One step, where the file system refuses an existing name itself.
        if (error == EEXIST) return false;
        if (error != 0) throw systemError(error);
        temp.release();
    } else if (::link(temp.path().c_str(), targetPath.c_str()) != 0) {
        // A link never replaces: whoever came first keeps the name. The temporary file
        // goes when `temp` does.
        if (errno == EEXIST) return false;
        // File systems without hard links (FAT, some network shares): a look, then a
        // rename; only a writer racing us for the same new name could slip in between.
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) throw systemError(errno);
        struct stat taken {};
        if (::lstat(targetPath.c_str(), &taken) == 0) return false;
        if (::rename(temp.path().c_str(), targetPath.c_str()) != 0) throw systemError(errno);
        temp.release();
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

void flushWrites(const fs::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) throw systemError(errno);
#ifdef __linux__
    // The files' content and their names, and since Linux 5.8 any failure to write them.
    if (::syncfs(dir.get()) != 0) throw systemError(errno);
#else
    ::fsync(dir.get());   // the files were flushed as they were written
#endif
}

}  // namespace detail

void refuseReadOnlyFile(const std::string& path) {
    // A rename needs only the folder's permission; the file's own is honoured here, so a
    // file the user made read-only is refused instead of replaced.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw systemFailure(err::PathFileAccess, errno);
}

}  // namespace drapeline::platform
