// What the program calls to write a file, all through the one writer of
// temporary_write.h, and the names of its temporary files.

#include <atomic>
#include <chrono>
#include <random>

#include "platform/files.h"
#include "core/native_path.h"
#include "platform/temporary_write.h"

namespace drapeline::platform {

namespace {

// Short enough that a long target name cannot push the temporary name past the file
// system's limit; the target's own name is only a hint for whoever finds a leftover.
constexpr std::size_t HintLength = 32;

}  // namespace

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

namespace detail {

WriteTarget writeTargetOf(const std::string& target, Existing existing) {
    const std::filesystem::path path = nativePath(target);
    if (!path.has_filename()) throw RuntimeError(err::PathFileAccess);
    if (existing == Existing::Replace) refuseReadOnlyFile(target);
    return {path, path.has_parent_path() ? path.parent_path() : std::filesystem::path("."), fileNameOf(target)};
}

bool writeThroughTemporary(const std::string& target, const ByteText& bytes, Existing existing,
                           Flush flush) {
    const WriteTarget where = writeTargetOf(target, existing);
    TemporaryFile temp;
    writeTemporary(temp, where, bytes, existing, flush);
    if (!putInPlace(temp, where, existing, flush)) return false;
    if (flush == Flush::ToDisk) syncFolder(where.folder);
    removeStaleTemporariesOnce(pathText(where.folder));
    return true;
}

}  // namespace detail

void replaceFileAtomically(const std::string& target, const ByteText& bytes) {
    detail::writeThroughTemporary(target, bytes, detail::Existing::Replace, detail::Flush::ToDisk);
}

bool writeNewFileAtomically(const std::string& target, const ByteText& bytes, DiskFlush flush) {
    return detail::writeThroughTemporary(target, bytes, detail::Existing::Keep,
                                         flush == DiskFlush::Now ? detail::Flush::ToDisk : detail::Flush::ByCaller);
}

void flushWrites(const std::string& folder) { detail::flushWrites(nativePath(folder)); }

void syncFolder(const std::string& folder) { detail::syncFolder(nativePath(folder)); }

struct StagedReplacement::Staged {
    detail::WriteTarget where;
    detail::TemporaryFile temp;
};

StagedReplacement::StagedReplacement(const std::string& target, const ByteText& bytes)
    : staged_(std::make_unique<Staged>()) {
    staged_->where = detail::writeTargetOf(target, detail::Existing::Replace);
    detail::writeTemporary(staged_->temp, staged_->where, bytes, detail::Existing::Replace, detail::Flush::ByCaller);
}

StagedReplacement::~StagedReplacement() = default;
StagedReplacement::StagedReplacement(StagedReplacement&&) noexcept = default;
StagedReplacement& StagedReplacement::operator=(StagedReplacement&&) noexcept = default;

void StagedReplacement::commit() {
    detail::putInPlace(staged_->temp, staged_->where, detail::Existing::Replace, detail::Flush::ByCaller);
    removeStaleTemporariesOnce(folder());
}

std::string StagedReplacement::folder() const { return pathText(staged_->where.folder); }

void writeFile(const std::string& path, const ByteText& bytes) {
    detail::writeThroughTemporary(path, bytes, detail::Existing::Replace, detail::Flush::No);
}

}  // namespace drapeline::platform
