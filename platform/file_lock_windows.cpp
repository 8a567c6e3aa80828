// The file lock on Windows. A file held open can not be replaced by a rename, so the lock
// is a named mutex per file path that every Drapeline asks for, and a byte-range lock that
// another program holds on the file itself is waited for before we go on. Windows releases
// a mutex whose owner died, and hands it to the next waiter.

#include "platform/file_lock.h"
#include "core/native_path.h"

#include <filesystem>
#include <string>
#include <thread>
#include <windows.h>

#include "core/errors.h"

namespace drapeline::platform {

struct FileLock::Held {
    HANDLE mutex = nullptr;
    ~Held() {
        if (mutex == nullptr) return;
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};

namespace {

// One name per file, whatever letter case or relative form the path was given in.
std::wstring mutexName(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length == 0 ? 0 : length);
    if (full.empty()) full = path;
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    unsigned long long hash = 0xcbf29ce484222325ULL;
    for (const wchar_t c : full) {
        hash ^= static_cast<unsigned long long>(c);
        hash *= 0x100000001b3ULL;
    }
    wchar_t digits[17];
    for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 15];
    digits[16] = L'\0';
    return std::wstring(L"Local\\Drapeline.lock.") + digits;
}

// Whether another program holds a byte-range lock on the file, or has it open without
// letting others read it.
bool lockedByOthers(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            throw RuntimeError(err::FileNotFound);
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    }
    OVERLAPPED whole{};
    const bool free = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                 MAXDWORD, MAXDWORD, &whole) != 0;
    if (free) UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(file);
    return !free;
}

}  // namespace

FileBusy::FileBusy(const std::string& path)
    : std::runtime_error(path + " is in use by another program"), path_(path) {}

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + patience;
    const std::wstring wide = nativePath(path).wstring();
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw RuntimeError(err::FileNotFound);
    auto held = std::make_shared<Held>();
    held->mutex = CreateMutexW(nullptr, FALSE, mutexName(wide).c_str());
    if (held->mutex == nullptr) throw RuntimeError(err::PathFileAccess);
    const auto left = [&] {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return static_cast<DWORD>(ms > 0 ? ms : 0);
    };
    const DWORD waited = WaitForSingleObject(held->mutex, left());
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(held->mutex);
        held->mutex = nullptr;
        throw FileBusy(path);
    }
    while (lockedByOthers(wide)) {
        if (Clock::now() >= deadline) throw FileBusy(path);   // ~Held releases the mutex
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    held_ = std::move(held);
}

// Windows keeps no change time that every write is sure to move: callers compare the
// content instead.
std::optional<FileStamp> FileLock::stamp() const { return std::nullopt; }
std::optional<FileStamp> fileStamp(const std::string&) { return std::nullopt; }

FileLock::~FileLock() = default;
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

}  // namespace drapeline::platform
