#include "core/file_io.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace drapeline {

namespace {

namespace fs = std::filesystem;

// Short enough that a long target name cannot push the temporary name past the file
// system's limit; the target's own name is only a hint for whoever finds a leftover.
constexpr std::size_t HintLength = 32;
constexpr int Attempts = 64;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

RuntimeError openError(int error, bool forWriting) {
    switch (error) {
    case ENOENT: return systemFailure(forWriting ? err::PathNotFound : err::FileNotFound, error);
    case ENOTDIR: return systemFailure(err::PathNotFound, error);
    case EACCES:
    case EPERM:
    case EROFS: return systemFailure(err::PermissionDenied, error);
    default: return systemFailure(err::PathFileAccess, error);
    }
}

RuntimeError failure(const std::error_code& ec) {
    return RuntimeError(err::PathFileAccess).withSystemReason(ec.message());
}

// Removes the temporary file unless the rename consumed it.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path p) : path_(std::move(p)) {}
    ~TemporaryFile() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void release() { path_.clear(); }

private:
    fs::path path_;
};

// Made here and nowhere else, so two writers never share a temporary file. msvcrt's fopen
// knows no "x" (Wine ignores it, losing the exclusion), so Windows asks _wopen instead.
std::FILE* createNew(const fs::path& p) {
#ifdef _WIN32
    const int fd = _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) {
        const int error = errno;
        _close(fd);
        errno = error;
    }
    return f;
#else
    return std::fopen(p.c_str(), "wbx");
#endif
}

}  // namespace

FileIdentity identityOf(std::string_view bytes) {
    // 64-bit FNV-1a: no table, no allocation, and far faster than the read it follows.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return {bytes.size(), hash};
}

std::string temporaryNameFor(const std::string& targetName, const std::string& processTag) {
    static std::atomic<unsigned long long> counter{0};
    static const unsigned long long salt = [] {
        std::random_device seed;
        return (static_cast<unsigned long long>(seed()) << 32) ^ seed() ^
               static_cast<unsigned long long>(
                   std::chrono::steady_clock::now().time_since_epoch().count());
    }();
    return "." + targetName.substr(0, HintLength) + ".drapeline-" + processTag + "-" +
           std::to_string(salt % 1000000007ULL) + "-" + std::to_string(counter++) + ".tmp";
}

ByteText readWholeFile(const std::string& path, std::uint64_t maxSize) {
    std::error_code ec;
    const fs::file_type type = fs::status(path, ec).type();
    if (type == fs::file_type::not_found) throw openError(ENOENT, false);
    // Opening a FIFO waits for a writer, a device may never end, and a folder reports a
    // nonsense size: only a plain file is opened.
    if (!ec && type != fs::file_type::regular)
        throw RuntimeError(err::PathFileAccess).withSystemReason("not a regular file");
    errno = 0;
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) throw openError(errno, false);
    // The size of the file opened (a replacement may have taken the name meanwhile), taken
    // before anything is allocated.
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw RuntimeError(err::PathFileAccess);
    const long size = std::ftell(f.get());
    if (size < 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) throw RuntimeError(err::PathFileAccess);
    if (static_cast<std::uint64_t>(size) > maxSize) throw RuntimeError(6);   // Overflow
    ByteText bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw RuntimeError(err::PathFileAccess);
    return bytes;
}

namespace {

// The plain file at `path` opened for reading, and its length.
File openPlainFile(const std::string& path, long& length) {
    std::error_code ec;
    const fs::file_type type = fs::status(path, ec).type();
    if (type == fs::file_type::not_found) throw openError(ENOENT, false);
    if (!ec && type != fs::file_type::regular)
        throw RuntimeError(err::PathFileAccess).withSystemReason("not a regular file");
    errno = 0;
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) throw openError(errno, false);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw RuntimeError(err::PathFileAccess);
    length = std::ftell(f.get());
    if (length < 0) throw RuntimeError(err::PathFileAccess);
    return f;
}

}  // namespace

std::uint64_t fileSize(const std::string& path) {
    long length = 0;
    openPlainFile(path, length);
    return static_cast<std::uint64_t>(length);
}

ByteText readFilePart(const std::string& path, std::uint64_t offset, std::uint32_t size) {
    long length = 0;
    File f = openPlainFile(path, length);
    if (offset > static_cast<std::uint64_t>(length) || size > static_cast<std::uint64_t>(length) - offset)
        throw RuntimeError(err::InputPastEnd);
    if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) throw RuntimeError(err::PathFileAccess);
    ByteText bytes(size, '\0');
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw RuntimeError(err::PathFileAccess);
    return bytes;
}

void writeWholeFile(const std::string& path, const ByteText& bytes) {
    const fs::path target(path);
    if (!target.has_filename()) throw RuntimeError(err::PathFileAccess);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    File f;
    fs::path temp;
    for (int attempt = 0; attempt < Attempts && !f; ++attempt) {
        temp = folder / temporaryNameFor(target.filename().string(), "w");
        errno = 0;
        f.reset(createNew(temp));
        if (!f && errno != EEXIST) throw openError(errno, true);
    }
    if (!f) throw RuntimeError(err::PathFileAccess);
    TemporaryFile cleanup(temp);
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw systemFailure(err::PathFileAccess, errno);
    errno = 0;
    if (std::fclose(f.release()) != 0) throw systemFailure(err::PathFileAccess, errno);
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) throw failure(ec);
    cleanup.release();
}

}  // namespace drapeline
