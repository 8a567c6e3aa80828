#include "core/bitmap_export.h"

#include <algorithm>
#include <unordered_map>

#include "core/binary_support.h"
#include "core/ascii.h"

namespace drapeline {

namespace bitmaps {

namespace {

// File names that Windows folds together are one file there; they count as one here.
std::string folded(std::string_view name) { return ascii::lower(name); }

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
    const std::string_view label(chunk.label);
    std::string base = iff::cleanFileName(label.substr(0, label.find('\0')));
    if (reservedOnWindows(base)) base += '_';
    return base + ".BMP";
}

std::vector<PlannedPicture> allPictures(const IffFile& iff) {
    std::vector<PlannedPicture> pictures;
    for (const auto& chunk : iff.chunks)
        if (chunk.typeCode == "BMP_") pictures.push_back({exportName(chunk), &chunk});
    return pictures;
}

PicturePlan picturesToExport(const IffFile& iff, std::size_t limit, std::span<const std::string_view> first) {
    struct Picture {
        PlannedPicture planned;
        std::string key;
    };
    std::vector<Picture> pictures;   // one per folded name, in the order first met
    std::unordered_map<std::string, std::size_t> byKey;
    for (PlannedPicture& planned : allPictures(iff)) {
        std::string key = folded(planned.name);
        const auto [at, isNew] = byKey.try_emplace(key, pictures.size());
        if (isNew)
            pictures.push_back({std::move(planned), std::move(key)});
        else
            pictures[at->second] = {std::move(planned), std::move(key)};   // the later chunk wins
    }
    const auto rank = [&](const Picture& p) {
        const auto at = std::find_if(first.begin(), first.end(),
                                     [&](std::string_view f) { return folded(f) == p.key; });
        return static_cast<std::size_t>(at - first.begin());
    };
    std::stable_sort(pictures.begin(), pictures.end(),
                     [&](const Picture& a, const Picture& b) { return rank(a) < rank(b); });

    PicturePlan plan;
    for (Picture& p : pictures) {
        if (plan.pictures.size() == limit) ++plan.leftOut;
        else plan.pictures.push_back(std::move(p.planned));
    }
    return plan;
}

}  // namespace bitmaps

}  // namespace drapeline
