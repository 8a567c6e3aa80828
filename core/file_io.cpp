#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/native_path.h"

namespace drapeline {

namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

RuntimeError openError(int error) {
    switch (error) {
    case ENOENT: return systemFailure(err::FileNotFound, error);
    case ENOTDIR: return systemFailure(err::PathNotFound, error);
    case EACCES:
    case EPERM:
    case EROFS: return systemFailure(err::PermissionDenied, error);
    default: return systemFailure(err::PathFileAccess, error);
    }
}

}  // namespace

FileIdentity identityOf(std::string_view bytes) {
    // Four independent multiply-and-shift lanes over 8 bytes at a time, so that hashing a
    // character file costs a fraction of reading it; FNV-1a for the last few bytes. Not a
    // cryptographic hash: it tells a changed file from the one that was read.
    constexpr std::uint64_t Prime = 0x9E3779B97F4A7C15ULL, Fnv = 0x100000001b3ULL;
    std::uint64_t lanes[4] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL, 0x9ce484222325cbf2ULL,
                              0x2325cbf29ce48422ULL};
    const char* p = bytes.data();
    std::size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32)
        for (int k = 0; k < 4; ++k) {
            std::uint64_t v;
            std::memcpy(&v, p + i + 8 * k, 8);
            std::uint64_t& lane = lanes[k];
            lane = (lane ^ v) * Prime;
            lane ^= lane >> 29;
        }
    std::uint64_t hash = bytes.size();
    for (const std::uint64_t lane : lanes) hash = (hash ^ lane) * Prime;
    for (; i < bytes.size(); ++i) {
        hash ^= static_cast<unsigned char>(p[i]);
        hash *= Fnv;
    }
    hash ^= hash >> 31;
    return {bytes.size(), hash};
}

namespace {

// The plain file at `path` opened for reading, and its length.
File openPlainFile(const std::string& path, long& length) {
    std::error_code ec;
    const fs::path native = nativePath(path);
    const fs::file_type type = fs::status(native, ec).type();
    if (type == fs::file_type::not_found) throw openError(ENOENT);
    // Opening a FIFO waits for a writer, a device may never end, and a folder reports a
    // nonsense size: only a plain file is opened.
    if (!ec && type != fs::file_type::regular)
        throw RuntimeError(err::PathFileAccess).withSystemReason("not a regular file");
    errno = 0;
#ifdef _WIN32
    File f(_wfopen(native.c_str(), L"rb"));   // the narrow one would read the name as ANSI
#else
    File f(std::fopen(native.c_str(), "rb"));
#endif
    if (!f) throw openError(errno);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw RuntimeError(err::PathFileAccess);
    length = std::ftell(f.get());
    if (length < 0) throw RuntimeError(err::PathFileAccess);
    return f;
}

}  // namespace

ByteText readWholeFile(const std::string& path, std::uint64_t maxSize) {
    // The size of the file opened (a replacement may have taken the name meanwhile), taken
    // before anything is allocated.
    long size = 0;
    const File f = openPlainFile(path, size);
    if (std::fseek(f.get(), 0, SEEK_SET) != 0) throw RuntimeError(err::PathFileAccess);
    if (static_cast<std::uint64_t>(size) > maxSize) throw RuntimeError(err::Overflow);
    ByteText bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw RuntimeError(err::PathFileAccess);
    return bytes;
}

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

}  // namespace drapeline
