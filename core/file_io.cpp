#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace drapeline {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

RuntimeError openError(int error, bool forWriting) {
    switch (error) {
    case ENOENT: return RuntimeError(forWriting ? err::PathNotFound : err::FileNotFound);
    case ENOTDIR: return RuntimeError(err::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS: return RuntimeError(err::PermissionDenied);
    default: return RuntimeError(err::PathFileAccess);
    }
}

}  // namespace

ByteText readWholeFile(const std::string& path) {
    std::error_code ec;
    // A folder opens for reading on some systems and reports a nonsense size.
    if (std::filesystem::is_directory(path, ec)) throw RuntimeError(err::PathFileAccess);
    errno = 0;
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) throw openError(errno, false);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw RuntimeError(err::PathFileAccess);
    const long size = std::ftell(f.get());
    if (size < 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) throw RuntimeError(err::PathFileAccess);
    ByteText bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw RuntimeError(err::PathFileAccess);
    return bytes;
}

void writeWholeFile(const std::string& path, const ByteText& bytes) {
    errno = 0;
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) throw openError(errno, true);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw RuntimeError(err::PathFileAccess);
    if (std::fclose(f.release()) != 0) throw RuntimeError(err::PathFileAccess);
}

}  // namespace drapeline
