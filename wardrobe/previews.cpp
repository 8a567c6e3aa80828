#include "wardrobe/previews.h"

#include "platform/files.h"

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

void removeSimImages(const std::string& programFolder) {
    // Deleted even where the export writes the same name next: a file truncated and
    // rewritten makes the file system write it out at once, a new one does not.
    static const std::vector<std::string> names{WebImageFile, FacesFile, RelImagesFile};
    for (const auto& found : platform::listFolder(programFolder, names, platform::Listing::FilesOnly))
        platform::removeFile(platform::joinPath(programFolder, found));
}

platform::ShownPicture loadSimImage(const platform::PictureLoader& loader,
                                    const std::string& programFolder, const char* fileName,
                                    platform::StockPicture fallback) {
    std::string path = platform::resolvePath(programFolder, fileName);
    if (auto picture = loader.load(path))
        return platform::ShownPicture::loaded(std::move(picture), std::move(path));
    return platform::ShownPicture::stockPicture(fallback);
}

}  // namespace drapeline::wardrobe
