#include "wardrobe/previews.h"

#include "platform/files.h"

namespace drapeline::wardrobe {

std::string textureBitmapPath(const std::string& gameLocation, const std::string& folder,
                              const std::string& texture) {
    // A drive or stream colon would lead outside the folder on Windows as a separator does.
    // An empty texture (a child's formal outfit, a man's formal hands) is no texture at
    // all, even where a file named ".bmp" lies in the folder.
    if (texture.empty() || texture.find_first_of("/\\:") != std::string::npos) return {};
    return platform::resolvePath(gameLocation, folder + "/" + texture + ".bmp");
}

platform::ShownPicture findPreview(const platform::PictureLoader& loader,
                                   const std::string& gameLocation, const std::string& texture,
                                   std::span<const char* const> folders,
                                   platform::StockPicture fallback) {
    for (const char* folder : folders) {
        std::string path = textureBitmapPath(gameLocation, folder, texture);
        if (path.empty()) break;
        if (auto picture = loader.load(path))
            return platform::ShownPicture::loaded(std::move(picture), std::move(path));
    }
    return platform::ShownPicture::stockPicture(fallback);
}

void removeSimImages(const std::string& programFolder) {
    for (const char* name : {WebImageFile, FacesFile, RelImagesFile})
        for (const auto& found : platform::listFolder(programFolder, name, platform::Listing::FilesOnly))
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
