#include "core/bitmap_export.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "core/binary_support.h"
#include "core/file_io.h"

namespace drapeline {

namespace bitmaps {

namespace {

// File names that Windows folds together are one file there; they count as one here.
std::string folded(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Device names that Windows opens in place of a file of that name, whatever its
// extension: CON.BMP is the console.
bool reservedOnWindows(std::string_view base) {
    static constexpr std::string_view Devices[] = {"con", "prn", "aux", "nul"};
    const std::string name = folded(base);
    if (std::find(std::begin(Devices), std::end(Devices), name) != std::end(Devices)) return true;
    return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) &&
           name[3] >= '1' && name[3] <= '9';
}

}  // namespace

std::string exportName(const IffChunk& chunk) {
    // A label without a NUL comes from a file written elsewhere; it is taken whole rather
    // than refused, since a picture's name must never end the program.
    const std::string_view label(chunk.Label);
    std::string base = iff::cleanFileName(label.substr(0, label.find('\0')));
    if (reservedOnWindows(base)) base += '_';
    return base + ".BMP";
}

std::vector<std::string> exportAll(const IffFile& iff, const std::string& folder) {
    std::vector<std::string> written;
    for (const auto& chunk : iff.Chunks) {
        if (chunk.TypeCode != "BMP_") continue;
        std::string name = exportName(chunk);
        // Whole-file writes through a rename: a shorter picture never keeps the tail of an
        // older one, and a link planted under the name is replaced, not written through.
        writeWholeFile((std::filesystem::path(folder) / name).string(), chunk.Data);
        written.push_back(std::move(name));
    }
    return written;
}

ExportReport exportSome(const IffFile& iff, const std::string& folder, std::size_t limit,
                        std::span<const std::string_view> first) {
    struct Picture {
        std::string name, key;
        const IffChunk* chunk;
    };
    std::vector<Picture> pictures;   // one per folded name, in the order first met
    std::unordered_map<std::string, std::size_t> byKey;
    for (const auto& chunk : iff.Chunks) {
        if (chunk.TypeCode != "BMP_") continue;
        std::string name = exportName(chunk);
        std::string key = folded(name);
        const auto [at, isNew] = byKey.try_emplace(key, pictures.size());
        if (isNew)
            pictures.push_back({std::move(name), std::move(key), &chunk});
        else
            pictures[at->second] = {std::move(name), std::move(key), &chunk};   // the later chunk wins
    }
    const auto rank = [&](const Picture& p) {
        const auto at = std::find_if(first.begin(), first.end(),
                                     [&](std::string_view f) { return folded(f) == p.key; });
        return static_cast<std::size_t>(at - first.begin());
    };
    std::stable_sort(pictures.begin(), pictures.end(),
                     [&](const Picture& a, const Picture& b) { return rank(a) < rank(b); });

    ExportReport report;
    for (const Picture& p : pictures) {
        if (report.written.size() + report.failed.size() == limit) {
            ++report.leftOut;
            continue;
        }
        try {
            writeWholeFile((std::filesystem::path(folder) / p.name).string(), p.chunk->Data);
            report.written.push_back(p.name);
        } catch (const RuntimeError&) {
            report.failed.push_back(p.name);
        }
    }
    return report;
}

}  // namespace bitmaps

namespace iff {

bitmaps::ExportReport dumpBitmaps(const IffFile& iff, const std::string& folder, std::size_t limit,
                                  std::span<const std::string_view> first) {
    return guarded("modIFFsupport", "gsDumpBMPs", Stages::None,
                   [&] { return bitmaps::exportSome(iff, folder, limit, first); });
}

}  // namespace iff

}  // namespace drapeline
