// The Windows half of the one file writer (see temporary_write.h): CreateFileW(CREATE_NEW)
// for the temporary file, FlushFileBuffers and a write-through move when the write must
// survive a crash, MoveFileExW to put it in place.

#include <algorithm>
#include <system_error>
#include <windows.h>

#include "platform/files.h"
#include "core/native_path.h"
#include "platform/temporary_write.h"

namespace fs = std::filesystem;

namespace drapeline::platform {

namespace {

constexpr int kAttempts = 64;
constexpr int kReplaceWaits = 50;
constexpr DWORD kReplaceWaitMs = 20;

// The numbered error for a Windows failure, with the system's own words for it.
RuntimeError systemError(DWORD code) {
    const auto number = [&] {
        switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return err::PathNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return err::PermissionDenied;
        default: return err::PathFileAccess;
        }
    }();
    std::string reason = std::system_category().message(static_cast<int>(code));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    RuntimeError error(number);
    error.withSystemReason(std::move(reason));
    return error;
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

}  // namespace

namespace detail {

std::string temporaryName(const std::string& targetName) {
    return temporaryNameFor(targetName, std::to_string(static_cast<unsigned long long>(GetCurrentProcessId())));
}

void writeTemporary(TemporaryFile& temp, const WriteTarget& where, const ByteText& bytes, Existing,
                    Flush flush) {
    Handle file(INVALID_HANDLE_VALUE);
    for (int attempt = 0; attempt < kAttempts && !file.valid(); ++attempt) {
        const fs::path candidate = where.folder / nativePath(temporaryName(where.hint));
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
    if (flush != Flush::No && !FlushFileBuffers(file.get())) throw systemError(GetLastError());
    if (!file.close()) throw systemError(GetLastError());
}

bool putInPlace(TemporaryFile& temp, const WriteTarget& where, Existing existing, Flush flush) {
    const bool replace = existing == Existing::Replace;
    // Windows refuses to replace a file while anyone holds it open, and readers (our own,
    // a virus scanner, the game) hold it only for moments: wait a little before giving up.
    // A flushed move is written through, so there is no folder to sync afterwards.
    for (int wait = 0;; ++wait) {
        if (MoveFileExW(temp.path().wstring().c_str(), where.path.wstring().c_str(),
                        (replace ? MOVEFILE_REPLACE_EXISTING : 0) |
                            (flush != Flush::No ? MOVEFILE_WRITE_THROUGH : 0)))
            break;
        const DWORD error = GetLastError();
        if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return false;
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            wait == kReplaceWaits)
            throw systemError(error);
        Sleep(kReplaceWaitMs);
    }
    temp.release();
    return true;
}

void syncFolder(const fs::path&) {}

// Each file was flushed as it was written, and its move written through.
void flushWrites(const fs::path&) {}

}  // namespace detail

void refuseReadOnlyFile(const std::string& path) {
    // A rename needs only the folder's permission; the file's own is honoured here, so a
    // file the user made read-only is refused instead of replaced.
    const DWORD attributes = GetFileAttributesW(nativePath(path).wstring().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(err::PathFileAccess).withSystemReason("the file is read-only");
}

}  // namespace drapeline::platform
