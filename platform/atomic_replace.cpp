// Durable atomic replacement of a file. The new content goes to a temporary file beside the
// target (same folder, so the same file system and the rename stays atomic), is forced to
// disk, and is renamed over the target; a crash at any moment leaves the old or the new
// file, never a torn one. The temporary name is unique per attempt and created exclusively,
// so two writers never share one, and it is removed whenever we give up.

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/file_io.h"
#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace drapeline::platform {

namespace {

constexpr int kAttempts = 64;
#ifdef _WIN32
constexpr int kReplaceWaits = 50;
constexpr DWORD kReplaceWaitMs = 20;
#endif

std::string temporaryName(const std::string& targetName) {
#ifdef _WIN32
    const unsigned long long process = GetCurrentProcessId();
#else
    const unsigned long long process = static_cast<unsigned long long>(getpid());
#endif
    return temporaryNameFor(targetName, std::to_string(process));
}

#ifdef _WIN32

RuntimeError systemError(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return RuntimeError(err::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return RuntimeError(err::PermissionDenied);
    default: return RuntimeError(err::PathFileAccess);
    }
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    void reset(HANDLE h) {
        close();
        h_ = h;
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool close() {
        if (!valid()) return true;
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

#else

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

// Makes the rename itself survive a crash. Best effort: the replacement has already
// happened, and some file systems refuse to sync a folder at all.
void syncFolder(const fs::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

#endif

// Removes the temporary file unless the rename consumed it.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (path_.empty()) return;
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void own(fs::path p) { path_ = std::move(p); }
    void release() { path_.clear(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

void refuseReadOnlyFile(const std::string& path) {
    // A rename needs only the folder's permission; the file's own is honoured here, so a
    // file the user made read-only is refused instead of replaced.
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(fs::path(path).wstring().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(err::PathFileAccess).withSystemReason("the file is read-only");
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw systemFailure(err::PathFileAccess, errno);
#endif
}

namespace {

enum class Existing { Replace, Keep };

// Writes through a temporary file; false only when `existing` is Keep and the target
// exists (it is then left alone).
bool writeThroughTemporary(const std::string& target, const ByteText& bytes, Existing existing) {
    const bool replace = existing == Existing::Replace;
    const fs::path targetPath(target);
    if (!targetPath.has_filename()) throw RuntimeError(err::PathFileAccess);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    const std::string hint = fileNameOf(target);
    TemporaryFile temp;

    if (replace) refuseReadOnlyFile(target);

#ifdef _WIN32
    Handle file(INVALID_HANDLE_VALUE);
    for (int attempt = 0; attempt < kAttempts && !file.valid(); ++attempt) {
        const fs::path candidate = folder / temporaryName(hint);
        const HANDLE h = CreateFileW(candidate.wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            throw systemError(error);
        }
        temp.own(candidate);
        file.reset(h);
    }
    if (!file.valid()) throw RuntimeError(err::PathFileAccess);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), data, chunk, &written, nullptr) || written == 0)
            throw systemError(GetLastError());
        data += written;
        left -= written;
    }
    if (!FlushFileBuffers(file.get())) throw systemError(GetLastError());
    if (!file.close()) throw systemError(GetLastError());
    // Windows refuses to replace a file while anyone holds it open, and readers (our own,
    // a virus scanner, the game) hold it only for moments: wait a little before giving up.
    for (int wait = 0;; ++wait) {
        if (MoveFileExW(temp.path().wstring().c_str(), targetPath.wstring().c_str(),
                        (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH))
            break;
        const DWORD error = GetLastError();
        if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return false;
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            wait == kReplaceWaits)
            throw systemError(error);
        Sleep(kReplaceWaitMs);
    }
    temp.release();
#else
    struct stat old {};
    const bool replacing =
        replace && ::stat(targetPath.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    Descriptor file(-1);
    for (int attempt = 0; attempt < kAttempts && file.get() < 0; ++attempt) {
        const fs::path candidate = folder / temporaryName(hint);
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
    if (::fsync(file.get()) != 0) throw systemError(errno);
    if (!file.close()) throw systemError(errno);
    if (replace) {
        if (::rename(temp.path().c_str(), targetPath.c_str()) != 0) throw systemError(errno);
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
    syncFolder(folder);
#endif
    removeStaleTemporariesOnce(folder.string());
    return true;
}

}  // namespace

void replaceFileAtomically(const std::string& target, const ByteText& bytes) {
    writeThroughTemporary(target, bytes, Existing::Replace);
}

bool writeNewFileAtomically(const std::string& target, const ByteText& bytes) {
    return writeThroughTemporary(target, bytes, Existing::Keep);
}

}  // namespace drapeline::platform
