#include "neighbourhood/sim_browser.h"

#include "platform/files.h"
#include "wardrobe/previews.h"
#include "wardrobe/sim_file.h"

namespace drapeline::neighbourhood {

const IffChunk* webImageChunk(const IffFile& iff) { return wardrobe::simImageChunk(iff, wardrobe::WebImageFile); }

Thumbnail SimBrowser::thumbnail(const std::string& path) {
    iff::clearIff(iff_);
    if (!iff::readIffChecked(iff_, path).empty())
        return {platform::ShownPicture::stockPicture(platform::StockPicture::CanNotLoad), CanNotLoadLabel};
    // Decoded where it lies in memory: exporting every sim's pictures to disk only to read
    // one back would cost a page many times its reading.
    platform::ShownPicture picture = platform::ShownPicture::stockPicture(platform::StockPicture::NotFound);
    if (const IffChunk* web = webImageChunk(iff_))
        if (auto decoded = services_.pictures.decode(web->data))
            picture = platform::ShownPicture::loaded(std::move(decoded), path);
    return {std::move(picture), wardrobe::listedIdentity(iff_).catalogueName};
}

SimPreview SimBrowser::preview(const std::string& path, const std::string& userDataDir) {
    SimPreview p;
    const std::string fileName = platform::fileNameOf(path);
    iff::clearIff(iff_);
    const std::string error = iff::readIffChecked(iff_, path);
    if (!error.empty()) {
        p.name = "* ERROR * Can not load " + fileName;
        p.webImage = platform::ShownPicture::stockPicture(platform::StockPicture::CanNotLoad);
        const std::string sep(1, platform::nativeSeparator());
        p.errorLines = {"The selected sim file", userDataDir + sep + "characters" + sep + fileName,
                        "can not be loaded. The error returned was:", error};
        return p;
    }
    p.readable = true;
    wardrobe::removeSimImages(services_.programFolder);
    using platform::StockPicture;
    auto images = wardrobe::exportAndShowSimImages(
        services_.pictures, iff_, path, services_.programFolder,
        {StockPicture::NotFound, StockPicture::NotFound, StockPicture::NotFound});
    p.webImage = std::move(images.webImage);
    p.faces = std::move(images.faces);
    p.relImages = std::move(images.relImages);
    p.name = fileName;
    if (const std::string label = wardrobe::listedIdentity(iff_).objectLabel; !label.empty()) p.name = label;
    return p;
}

}  // namespace drapeline::neighbourhood
