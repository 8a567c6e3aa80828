#include "wardrobe/previews.h"

#include <algorithm>

#include "core/bitmap_export.h"
#include "platform/files.h"
#include "platform/picture_export.h"

namespace drapeline::wardrobe {

std::string SkinBitmaps::bitmapPath(const std::string& folder, const std::string& texture) {
    if (texture.empty() || texture.find_first_of("/\\:") != std::string::npos) return {};
    Folder& f = folders_[folder];
    if (f.path.empty()) f.path = platform::resolvePath(gameLocation_, folder);
    const std::string name = texture + ".bmp";
    std::string exact = platform::joinPath(f.path, name);
#ifndef _WIN32
    // Windows opens any spelling, so there the listing names the file as spelt on disk,
    // as a resolved path does.
    if (platform::pathExists(exact)) return exact;
#endif
    if (!f.byFoldedName) {
        f.byFoldedName.emplace();
        // The listing is in case-blind order with ties in byte order, so the first name
        // kept for each folded name is the one a case-blind lookup takes.
        for (auto& entry : platform::listFolder(f.path, "*", platform::Listing::FilesOnly))
            f.byFoldedName->try_emplace(platform::foldCase(entry), std::move(entry));
    }
    const auto found = f.byFoldedName->find(platform::foldCase(name));
    // A name found in no spelling is handed on as spelt; it simply does not load.
    return found == f.byFoldedName->end() ? exact : platform::joinPath(f.path, found->second);
}

platform::ShownPicture findPreview(const platform::PictureLoader& loader, SkinBitmaps& bitmaps,
                                   const std::string& texture, std::span<const char* const> folders,
                                   platform::StockPicture fallback) {
    for (const char* folder : folders) {
        std::string path = bitmaps.bitmapPath(folder, texture);
        if (path.empty()) break;
        if (auto picture = loader.load(path))
            return platform::ShownPicture::loaded(std::move(picture), std::move(path));
    }
    return platform::ShownPicture::stockPicture(fallback);
}

std::string simPicturesFolder(const std::string& programFolder) {
    return platform::resolvePath(programFolder, SimPicturesFolder);
}

void removeSimImages(const std::string& programFolder) {
    // Only pictures go: the folder is ours, but a program folder set by hand may hold a
    // folder of that name with other things in it.
    const std::string folder = simPicturesFolder(programFolder);
    for (const auto& found : platform::listFolder(folder, "*.bmp", platform::Listing::FilesOnly))
        platform::removeFile(platform::joinPath(folder, found));
}

const IffChunk* simImageChunk(const IffFile& iff, std::string_view fileName) {
    const IffChunk* found = nullptr;
    for (const auto& chunk : iff.chunks)
        if (chunk.typeCode == "BMP_" && platform::equalIgnoringCase(bitmaps::exportName(chunk), fileName))
            found = &chunk;
    return found;
}

SimImages exportAndShowSimImages(const platform::PictureLoader& loader, const IffFile& iff,
                                 const std::string& characterPath, const std::string& programFolder,
                                 const std::array<platform::StockPicture, 3>& fallbacks) {
    static constexpr std::array<std::string_view, 3> Shown{WebImageFile, FacesFile, RelImagesFile};
    const std::string folder = simPicturesFolder(programFolder);
    // A folder that can not be made fails each write below, which is reported, not fatal.
    platform::createFolder(folder);
    const platform::ExportReport report = platform::dumpBitmaps(iff, folder, MostExportedPictures, Shown);

    const auto show = [&](std::string_view fileName, platform::StockPicture fallback) {
        if (const IffChunk* chunk = simImageChunk(iff, fileName))
            if (auto picture = loader.decode(chunk->data)) {
                const std::string name = bitmaps::exportName(*chunk);
                const bool exported =
                    std::find(report.written.begin(), report.written.end(), name) != report.written.end();
                return platform::ShownPicture::loaded(
                    std::move(picture), exported ? platform::joinPath(folder, name) : characterPath);
            }
        return platform::ShownPicture::stockPicture(fallback);
    };
    return {show(WebImageFile, fallbacks[0]), show(FacesFile, fallbacks[1]),
            show(RelImagesFile, fallbacks[2])};
}

}  // namespace drapeline::wardrobe
