#include "tests/support/temp_folder.h"

#include "core/native_path.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace drapeline::testkit {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path p = fs::temp_directory_path() /
                       ("drapeline-test-" + std::to_string(seed()) + "-" +
                        std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    path_ = pathText(p);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(nativePath(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(nativePath(path_), ignored);
}

std::string TempFolder::operator/(const std::string& relative) const {
    return pathText(nativePath(path_) / nativePath(relative).make_preferred());
}

std::string TempFolder::write(const std::string& relative, const ByteText& bytes) const {
    const std::string path = *this / relative;
    const fs::path p = nativePath(path);
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempFolder::makeFolder(const std::string& relative) const {
    fs::create_directories(nativePath(*this / relative));
    return *this / relative;
}

bool TempFolder::ignoresCase() const {
    const fs::path probe = nativePath(path_) / "case-probe";
    std::ofstream{probe};
    std::error_code ec;
    const bool ignores = fs::exists(nativePath(path_) / "CASE-PROBE", ec);
    fs::remove(probe, ec);
    return ignores;
}

}  // namespace drapeline::testkit
